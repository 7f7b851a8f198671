#pragma once
// Pixels at the window's own DPI. The design is in twips (1440 to the inch); with per-monitor
// awareness Windows leaves the scaling to the program, so each length is converted at the DPI
// of the monitor the window is on.

#include <windows.h>

namespace brivana::win32 {

inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
// A length given in pixels at 96 DPI (100 %).
inline int ScaledPixels(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

// The DPI of the monitor of the window: GetDpiForWindow where Windows has it (10, version
// 1607 on), else the screen's.
UINT WindowDpi(HWND hwnd);

// AdjustWindowRectExForDpi where Windows has it, else AdjustWindowRectEx.
void AdjustFrame(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

}  // namespace brivana::win32
