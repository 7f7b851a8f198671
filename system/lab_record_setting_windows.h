#pragma once
// Where the administrator put the record of the whole lab: a folder on the school's file server
// (for example \\server\share\brivana), set in the machine's registry, so that no pupil can change
// it. A Group Policy value wins over the one the installer keeps.

#include <string>

namespace brivana {

// The value that holds the folder, under both keys below (HKLM, 64-bit view).
inline constexpr const wchar_t* kLabRecordValue = L"RecordFolder";
inline constexpr const wchar_t* kLabRecordPolicyKey = L"SOFTWARE\\Policies\\Brivana";
inline constexpr const wchar_t* kLabRecordSettingKey = L"SOFTWARE\\Brivana";

// The lab's record folder ending in a backslash; empty when no administrator set one (or set an
// empty text). The policy's wins over the installer's.
std::string LabRecordDirectory();

}  // namespace brivana
