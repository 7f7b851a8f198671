#pragma once
// Where Windows keeps the administrator's lab folder: a value in the machine's registry (HKLM,
// 64-bit view), which pupils cannot change. A Group Policy sets it for a whole lab under the
// policy key, which wins over the one the installer keeps.

namespace brivana {

inline constexpr const wchar_t* kLabSettingValue = L"RecordFolder";
inline constexpr const wchar_t* kLabSettingPolicyKey = L"SOFTWARE\\Policies\\Brivana";
inline constexpr const wchar_t* kLabSettingInstallerKey = L"SOFTWARE\\Brivana";

}  // namespace brivana
