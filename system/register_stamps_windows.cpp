#include "system/register_stamps.h"

#include <windows.h>

#include "system/wide_text_windows.h"

namespace brivana {

std::string SystemRegisterStamps::computerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) return {};
    return Utf8(std::wstring_view(name, size));
}

}  // namespace brivana
