#pragma once
// The administrator's setting that puts the class record in a folder of the school's server,
// shared by every computer of the lab. Pupils can neither set nor change it.

#include <optional>
#include <string>

namespace brivana {

// The setting's file on Linux, written by the package's configuration (debconf).
inline constexpr const char* kLabSettingPath = "/etc/brivana/record-classe.conf";

// The lab folder named in the setting's text: the line "cartella=<absolute path>"; blank lines
// and lines starting with # are ignored. Empty when the text names none; nothing when it is
// not a setting of ours (then why says so, in Italian).
std::optional<std::string> ParseLabSetting(const std::string& text, std::string& why);

// The lab folder of this computer, ending in a path separator; empty when there is none. A
// setting that anyone but the administrator could have written is not followed: why says so.
std::string LabRecordDirectory(std::string& why);
inline std::string LabRecordDirectory()
{
    std::string why;
    return LabRecordDirectory(why);
}

}  // namespace brivana
