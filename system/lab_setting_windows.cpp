#include "system/lab_setting.h"
#include "system/lab_setting_windows.h"

#include <windows.h>

#include "system/error_text.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

// The value under key: empty when missing; why says so when it is there but cannot be read.
std::string ReadValue(const wchar_t* key, std::string& why)
{
    constexpr DWORD kText = RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY;
    DWORD bytes = 0;
    LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, key, kLabSettingValue, kText, nullptr, nullptr, &bytes);
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (status == ERROR_SUCCESS) {
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_LOCAL_MACHINE, key, kLabSettingValue, kText, nullptr, text.data(), &bytes);
    }
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) {
        why = "Non riesco a leggere l'impostazione HKLM\\" + Utf8(key) + "\\" + Utf8(kLabSettingValue) + ": " +
              SystemErrorText(static_cast<int>(status)) + ".";
        return {};
    }
    text.resize(text.find(L'\0'));
    // Spaces around the path are an administrator's slip, not part of a folder's name.
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return Utf8(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
}

}  // namespace

std::string LabRecordDirectory(std::string& why)
{
    why.clear();
    const wchar_t* key = kLabSettingPolicyKey;
    std::string folder = ReadValue(key, why);
    if (folder.empty() && why.empty()) folder = ReadValue(key = kLabSettingInstallerKey, why);
    if (folder.empty()) return {};
    std::string problem;
    const auto parsed = ParseLabSetting("cartella=" + folder, problem);
    if (!parsed) {
        why = "Non seguo HKLM\\" + Utf8(key) + "\\" + Utf8(kLabSettingValue) + ": " + problem + ".";
        return {};
    }
    return *parsed;
}

}  // namespace brivana
