#include "system/lab_record_setting_windows.h"

#include <windows.h>

#include "system/wide_text_windows.h"

namespace brivana {

namespace {

// The text of the value; empty when missing or not a text (REG_SZ).
std::wstring ReadText(const wchar_t* key)
{
    constexpr DWORD kTexts = RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, kLabRecordValue, kTexts, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return {};
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, kLabRecordValue, kTexts, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
        return {};
    text.resize(text.find(L'\0'));
    // Spaces around the path are an administrator's slip, not part of a folder's name.
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

std::string LabRecordDirectory()
{
    std::wstring dir = ReadText(kLabRecordPolicyKey);
    if (dir.empty()) dir = ReadText(kLabRecordSettingKey);
    if (dir.empty()) return {};
    if (dir.back() != L'\\' && dir.back() != L'/') dir += L'\\';
    return Utf8(dir);
}

}  // namespace brivana
