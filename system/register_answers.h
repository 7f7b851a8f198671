#pragma once
// The keeper's answers about the register: an append, stamped by the keeper itself, and the
// clearing of a school year, for teachers only.

#include <string>

#include "game/file_access.h"
#include "game/record_keeper.h"

namespace brivana {

// Who asks, as the keeper learnt it from the system, never from the request.
struct KeeperCaller {
    bool teacher = false;  // a member of the teachers' group (Windows: or an administrator)
    // Windows: the register file's access list, as SDDL, for the file the keeper creates.
    std::wstring registerSddl;
};

// The Linux teachers' group, which alone reads the register and may clear it.
inline constexpr const char* kTeachersGroup = "brivana-docenti";

// The register line of the result that resultFields encode, stamped now; refused when the fields
// are not a game's.
RegisterResult StampResult(const std::string& resultFields, RegisterLine& line);
// Appends the result that resultFields encode to the register beside sharedDir, stamped now.
RegisterResult AnswerAppend(const std::string& resultFields, const std::string& sharedDir, FileAccess& files);
// Clears the school year that schoolYear names, if teacher.
RegisterResult AnswerClear(const std::string& schoolYear, const std::string& sharedDir, bool teacher,
                           FileAccess& files);

}  // namespace brivana
