#pragma once
// The lines of a keeper's folder check about its own folder, when the record is the lab's: whether
// the keeper can keep there what the server does not take, and what waits there now.

#include <string>

namespace brivana {

// usable: whether the keeper can write in own.
std::string OwnFolderReport(const std::string& own, bool& usable);

}  // namespace brivana
