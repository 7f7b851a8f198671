#include "win32/dpi.h"

#include "system/owned_handle_windows.h"

namespace brivana::win32 {

namespace {

// A function of user32 that older Windows lacks; null there.
template <typename Function>
Function User32(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

UINT WindowDpi(HWND hwnd)
{
    if (const auto forWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
        if (const UINT dpi = forWindow(hwnd)) return dpi;
    }
    const WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AdjustFrame(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi)
{
    if (const auto forDpi = User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi")) {
        if (forDpi(&rect, style, menu, exStyle, dpi)) return;
    }
    AdjustWindowRectEx(&rect, style, menu, exStyle);
}

}  // namespace brivana::win32
