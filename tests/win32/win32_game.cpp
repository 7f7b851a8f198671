#include "win32_game.h"

namespace brivana::test {

Win32Game::Win32Game()
{
    tavola = std::make_unique<win32::Tavola>(Services{random, dateTime_, place_, records_}, dialogs);
}

void Win32Game::UseDialogs(Dialogs& other)
{
    tavola.reset();
    tavola = std::make_unique<win32::Tavola>(Services{random, dateTime_, place_, records_}, other);
}

Win32Game::~Win32Game()
{
    tavola.reset();
    Pump();
}

void Win32Game::Start(const std::string& name)
{
    dialogs.answerInput(name);
    dialogs.answerMessage();
    tavola->start();
    Pump();
}

void Win32Game::Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // The tests give the clock its ticks themselves.
        if (message.message == WM_TIMER && tavola && message.hwnd == tavola->hwnd() && message.wParam == 1) continue;
        if (tavola && tavola->PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring Win32Game::WindowText(HWND hwnd) const
{
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

void Win32Game::Type(const std::wstring& characters)
{
    for (wchar_t character : characters) {
        PostMessageW(GetFocus(), WM_CHAR, character, 1);
        Pump();
    }
}

void Win32Game::Key(UINT virtualKey, bool alt)
{
    const LPARAM flags = alt ? (1 << 29) : 0;
    PostMessageW(GetFocus() ? GetFocus() : tavola->hwnd(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | flags);
    Pump();
    PostMessageW(GetFocus() ? GetFocus() : tavola->hwnd(), alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey,
                 1 | flags | (3u << 30));
    Pump();
}

void Win32Game::Answer(const std::wstring& typed)
{
    Type(typed);
    Key(VK_RETURN);
}

void Win32Game::ClickAt(POINT client)
{
    HWND target = ChildWindowFromPointEx(tavola->hwnd(), client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    // A disabled control takes no mouse input: the window under it gets the click.
    if (!target || !IsWindowEnabled(target)) target = tavola->hwnd();
    POINT local = client;
    MapWindowPoints(tavola->hwnd(), target, &local, 1);
    const LPARAM at = MAKELPARAM(local.x, local.y);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(target, WM_LBUTTONUP, 0, at);
    Pump();
}

void Win32Game::ClickOn(const char* name)
{
    const RECT rect = Rect(name);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void Win32Game::Tick(int times)
{
    for (int i = 0; i < times && tavola->timerEnabled(); ++i) {
        SendMessageW(tavola->hwnd(), WM_TIMER, 1, 0);
        Pump();
    }
}

void Win32Game::OpenMenu(const char* name)
{
    SendMessageW(tavola->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tavola->menu(name)), 0);
    Pump();
}

RECT Win32Game::Rect(const char* name) const
{
    RECT rect{};
    GetWindowRect(Control(name), &rect);
    MapWindowPoints(nullptr, tavola->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF Win32Game::PixelAt(POINT client) const
{
    HDC dc = GetDC(tavola->hwnd());
    const COLORREF pixel = GetPixel(dc, client.x, client.y);
    ReleaseDC(tavola->hwnd(), dc);
    return pixel;
}

}  // namespace brivana::test
