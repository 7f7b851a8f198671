// Every key and typed character of Tavola: the keys handed to the protocol before the
// controls see them, and the answer box's characters, typed or pasted, through the
// protocol's filters.
#include "win32/tavola.h"

#include <commctrl.h>
#include <oleacc.h>

#include <optional>

#include "game/answer_keys.h"

namespace brivana::win32 {

namespace {

// A key in the protocol's terms; nothing for a key the focused control keeps for itself.
std::optional<keys::Press> ProtocolKey(const MSG& message)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (message.message == WM_SYSKEYDOWN) {
        if (!control && message.wParam >= 'A' && message.wParam <= 'Z')
            return keys::Press{keys::Key::alt, static_cast<char32_t>(message.wParam)};
        return std::nullopt;
    }
    if (message.message != WM_KEYDOWN) return std::nullopt;
    switch (message.wParam) {
    case VK_RETURN: return keys::Press{control ? keys::Key::ctrlEnter : keys::Key::enter};
    case VK_BACK:
        if (control && !shift) return keys::Press{keys::Key::ctrlBackspace};
        break;
    case VK_ESCAPE:
        if (!control && !shift) return keys::Press{keys::Key::escape};
        break;
    case VK_F2:
        if (!control && !shift) return keys::Press{keys::Key::f2};
        break;
    case VK_TAB:
        if (!control) return keys::Press{shift ? keys::Key::shiftTab : keys::Key::tab};
        break;
    }
    return std::nullopt;
}

}  // namespace

bool Tavola::PreTranslate(const MSG& message)
{
    if (hasEnded() || !hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
    const std::optional<keys::Press> press = ProtocolKey(message);
    if (!press) return false;
    const Control* focused = find(GetFocus());
    if (!protocol_.pressKey(*press, focused ? focused->row->name : std::string_view())) return false;
    // The key that went with Alt, as the default handling sees it: Alt released now is no
    // longer Alt pressed alone, which would put the menu bar in keyboard mode.
    if (message.message == WM_SYSKEYDOWN) DefWindowProcW(hwnd_, message.message, message.wParam, message.lParam);
    return true;
}

bool Tavola::FilterCharacter(wchar_t& character, bool pasted)
{
    char32_t filtered = character;
    if (!(pasted ? protocol_.pasteCharacter(filtered) : protocol_.typeCharacter(filtered))) return false;
    character = static_cast<wchar_t>(filtered);
    return true;
}

void Tavola::PasteFiltered(HWND box)
{
    std::wstring pasted;
    {
        if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
        const OpenClipboardFor clipboard(hwnd_);
        if (!clipboard) return;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            const GlobalLocked<const wchar_t> text(data);
            if (text.get()) pasted = text.get();
        }
    }
    std::wstring kept;
    for (wchar_t character : pasted)
        if (FilterCharacter(character, true)) kept += character;
    if (!kept.empty()) SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
}

void Tavola::RefilterAnswer(HWND box)
{
    // Whatever way text came in (a drop, another program's message), the box keeps only what
    // the paste filter lets through.
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    std::wstring kept;
    for (wchar_t character : text)
        if (FilterCharacter(character, true)) kept += character;
    if (kept != text) SetWindowTextW(box, kept.c_str());
}

LRESULT CALLBACK Tavola::AnswerProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    return reinterpret_cast<Tavola*>(self)->HandleAnswerMessage(box, message, wParam, lParam);
}

LRESULT Tavola::HandleAnswerMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
        // Typed characters, dead-key compositions included, through the game's key filter.
        // Ctrl+letters arrive as characters 1 to 26 and are dropped there, Ctrl+V included.
        wchar_t character = static_cast<wchar_t>(wParam);
        if (!FilterCharacter(character, false)) return 0;
        return DefSubclassProc(box, WM_CHAR, character, lParam);
    }
    case WM_PASTE:
        PasteFiltered(box);
        return 0;
    case WM_KEYDOWN:
        // Shift+Insert pastes; some edit controls do it without a WM_PASTE.
        if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            PasteFiltered(box);
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const Control* answer = find(box)) {
            if (const LRESULT object = SpokenAccessible(box, wParam, lParam, answer->spoken)) return object;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, &Tavola::AnswerProc, 0);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK Tavola::SpokenProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    if (message == WM_GETOBJECT) {
        const Tavola& tavola = *reinterpret_cast<Tavola*>(self);
        // The notice is an alert, which screen readers say as it is raised.
        const Control* spoken = tavola.find(button);
        const SpokenWords alert{{}, {}, ROLE_SYSTEM_ALERT};
        if (spoken || button == tavola.notice_.get()) {
            if (const LRESULT object = SpokenAccessible(button, wParam, lParam, spoken ? spoken->spoken : alert))
                return object;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, &Tavola::SpokenProc, 0);
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace brivana::win32
