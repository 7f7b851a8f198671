// The least a Win32 program pays for the game's picture: a bare window of the game's client
// size painting the gradient's bands, taken from the game's own layout. It stays until it is
// closed or killed.
//   brivana-bench-baseline.exe          the bare window;
//   brivana-bench-baseline.exe prompt   only the game's own name prompt (from its resources), the
//                                       least any program pays to show that dialog first.
#include <windows.h>

#include <cwchar>

#include "layout/control_table.h"
#include "layout/gradient_bands.h"
#include "win32/resource_ids.h"

namespace {

using namespace brivana::layout;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        for (int band = 0; band < kBands; ++band) {
            const Rgb colour = BandColour(-6, -12, band);
            HBRUSH brush = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
            const RECT rect{0, BandTop(band, client.bottom), client.right, BandTop(band + 1, client.bottom)};
            FillRect(dc, &rect, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    SetWindowTextW(dialog, L"Gioca con il prodotto di numeri relativi");
    SetDlgItemTextW(dialog, IDC_PROMPT_TEXT, L"Come ti chiami?");
    return TRUE;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int show)
{
    if (std::wcscmp(arguments, L"prompt") == 0)
        return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_NAME_PROMPT), nullptr, PromptProc, 0));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = L"BrivanaBaseline";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Brivana baseline", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
