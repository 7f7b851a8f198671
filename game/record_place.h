#pragma once
// Finds the directory that holds the record files.

#include <string>

namespace brivana {

struct RecordLocation {
    std::string dir;     // ends in the platform's path separator
    std::string notice;  // in Italian, for the player; empty when there is nothing to say
    bool classRecord = false;  // the record is the whole lab's, on the school's server
};

class RecordPlace {
public:
    virtual ~RecordPlace() = default;
    virtual RecordLocation locate() = 0;
};

}  // namespace brivana
