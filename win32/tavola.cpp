#include "win32/tavola.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "game/answer_keys.h"
#include "layout/menu_table.h"
#include "win32/dpi.h"
#include "win32/version.h"
#include "win32/wide_text.h"

namespace brivana::win32 {

namespace {

constexpr wchar_t kClassName[] = L"BrivanaTavola";
constexpr std::string_view kApplicationTitle = "Brivana";
constexpr std::string_view kLoadCaption = " Giochiamo con il prodotto di numeri relativi";

constexpr UINT_PTR kClockTimer = 1;
constexpr UINT_PTR kReloadRetryTimer = 2;
// Posted by reload(): the controls are rebuilt once the handler that asked has returned.
constexpr UINT kReloadMessage = WM_APP + 1;

// A character outside the single-byte set: no answer can use it.
constexpr std::int16_t kUnmappable = '?';

constexpr std::array kTabOrder{std::string_view("cmdExit"), std::string_view("cmdNext"),
                               std::string_view("txtAnswer"), std::string_view("Command1")};

}  // namespace

void Tavola::RegisterClassOnce(HINSTANCE instance)
{
    WNDCLASSEXW type{};
    if (GetClassInfoExW(instance, kClassName, &type)) return;
    type.cbSize = sizeof type;
    type.lpfnWndProc = &Tavola::WindowProc;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = kClassName;
    RegisterClassExW(&type);
}

Tavola::Tavola(Services services, Dialogs& dialogs, std::function<void()> ended)
    : dialogs_(dialogs), game_(*this, services), ended_callback_(std::move(ended))
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterClassOnce(instance);
    // Fixed size, as the design's layout is: it can be minimised and restored, not resized.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    hwnd_ = CreateWindowExW(0, kClassName, Wide(kLoadCaption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    answerBack_ = CreateSolidBrush(RGB(0, 255, 255));
    // The controls wait for the name prompt, the first thing the pupil sees (see inputBox).
}

Tavola::~Tavola()
{
    if (hwnd_) {
        KillTimer(hwnd_, kClockTimer);
        DestroyControls();
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (HICON icon : {bigIcon_, smallIcon_, clock_, next_, nextPressed_, nextDisabled_, exit_})
        if (icon) DestroyIcon(icon);
    if (iconPointer_) DestroyCursor(iconPointer_);
    if (answerBack_) DeleteObject(answerBack_);
}

void Tavola::start() { LoadAndShow(); }

void Tavola::LoadAndShow()
{
    SetWindowTextW(hwnd_, Wide(kLoadCaption).c_str());
    setTimerEnabled(true);
    game_.Form_Load();
    if (ended_) return;
    SizeWindow();
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
    game_.Form_Resize(IsIconic(hwnd_));
    if (ended_) return;
    game_.Form_Activate();
}

void Tavola::reload()
{
    // This runs inside a menu's message and after dialogs: the controls on the stack must
    // outlive it, so the rebuild waits for the message loop.
    if (reloadPending_) return;
    reloadPending_ = true;
    EndMenu();
    PostMessageW(hwnd_, kReloadMessage, 0, 0);
}

void Tavola::Rebuild()
{
    // A menu or a dialog still open would run the rebuild under a handler of the old controls.
    // The drop-down opened by "NUOVO GIOCO" may have shown after all: close it again.
    if (inMenuLoop_) EndMenu();
    if (inMenuLoop_ || openDialogs_ > 0) {
        SetTimer(hwnd_, kReloadRetryTimer, layout::kTimerIntervalMs / 10, nullptr);
        return;
    }
    reloadPending_ = false;
    if (ended_) return;
    ShowWindow(hwnd_, SW_HIDE);
    setTimerEnabled(false);
    DestroyControls();
    draws_.reset();
    BuildControls();
    LoadAndShow();
}

void Tavola::copy_Click(std::int16_t)
{
    messageBox("Brivana " + std::string(kVersion) + "\n" + std::string(layout::CreditsText()), MsgStyle::ok);
}

int Tavola::Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

Tavola::Control* Tavola::find(std::string_view name)
{
    const auto found = std::ranges::find_if(controls_, [&](const Control& c) { return c.row->name == name; });
    return found == controls_.end() ? nullptr : &*found;
}

const Tavola::Control* Tavola::find(std::string_view name) const { return const_cast<Tavola*>(this)->find(name); }

const Tavola::Control* Tavola::find(HWND hwnd) const
{
    if (!hwnd) return nullptr;
    const auto found = std::ranges::find(controls_, hwnd, &Control::hwnd);
    return found == controls_.end() ? nullptr : &*found;
}

const Tavola::Control* Tavola::findId(int id) const
{
    const auto found = std::ranges::find(controls_, id, &Control::id);
    return found == controls_.end() ? nullptr : &*found;
}

Tavola::Control& Tavola::label(Field field) { return *find(fieldName(field)); }
const Tavola::Control& Tavola::label(Field field) const { return *find(fieldName(field)); }

HWND Tavola::control(std::string_view name) const
{
    const Control* found = find(name);
    return found ? found->hwnd : nullptr;
}

HMENU Tavola::menu(std::string_view name) const
{
    for (const auto& [menuName, handle] : menus_)
        if (menuName == name) return handle;
    return nullptr;
}

UINT Tavola::menuCommand(std::string_view name) const
{
    for (const auto& [entryName, command] : menuCommands_)
        if (entryName == name) return command;
    return 0;
}

// ---- GameView ------------------------------------------------------------------------------

std::string Tavola::text(Field field) const
{
    if (field == Field::txtAnswer) {
        HWND box = control("txtAnswer");
        std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        typed.resize(static_cast<std::size_t>(GetWindowTextW(box, typed.data(), static_cast<int>(typed.size()))));
        return Utf8(typed);
    }
    return label(field).caption;
}

void Tavola::setText(Field field, const std::string& text)
{
    if (field == Field::txtAnswer) {
        SetWindowTextW(control("txtAnswer"), Wide(text).c_str());
        return;
    }
    Control& shown = label(field);
    shown.caption = text;
    FitLabel(shown);
    UpdateAccessibleText(shown);
    InvalidateRect(shown.hwnd, nullptr, FALSE);
}

void Tavola::setNextEnabled(bool enabled) { EnableWindow(control("cmdNext"), enabled); }

void Tavola::focusNext() { SetFocus(control("cmdNext")); }

void Tavola::focusAnswer() { SetFocus(control("txtAnswer")); }

void Tavola::setTimerEnabled(bool enabled)
{
    if (enabled == timerEnabled_) return;
    timerEnabled_ = enabled;
    if (enabled)
        SetTimer(hwnd_, kClockTimer, layout::kTimerIntervalMs, nullptr);
    else
        KillTimer(hwnd_, kClockTimer);
}

MsgAnswer Tavola::messageBox(const std::string& text, int style, const std::string& title)
{
    ++openDialogs_;
    const MsgAnswer answer =
        dialogs_.messageBox(hwnd_, text, style, title.empty() ? std::string(kApplicationTitle) : title);
    --openDialogs_;
    return answer;
}

std::string Tavola::inputBox(const std::string& prompt, const std::string& title)
{
    ++openDialogs_;
    std::string typed = dialogs_.inputBox(hwnd_, prompt, title);
    --openDialogs_;
    // A prompt that never waited for the pupil (WM_ENTERIDLE) leaves the first build to now.
    if (controls_.empty()) BuildControls();
    return typed;
}

void Tavola::paintBackground(std::int16_t p, std::int16_t q)
{
    draws_.emplace(p, q);
    // The labels with a transparent back show the new tint too.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Tavola::setCaption(const std::string& caption) { SetWindowTextW(hwnd_, Wide(caption).c_str()); }

void Tavola::endProgram()
{
    ended_ = true;
    setTimerEnabled(false);
    ShowWindow(hwnd_, SW_HIDE);
    if (ended_callback_) ended_callback_();
}

// ---- Keys ----------------------------------------------------------------------------------

bool Tavola::PreTranslate(const MSG& message)
{
    if (ended_ || !hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN) {
        const bool withControl = GetKeyState(VK_CONTROL) < 0;
        if (message.wParam == VK_TAB && !withControl) {
            MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return true;
        }
        if (message.wParam == VK_RETURN) {
            // A focused button takes the Enter itself; otherwise cmdNext, the default button,
            // while it is enabled. Else the answer box gets it as character 13.
            const Control* focused = find(GetFocus());
            if (focused && (focused->row->kind == layout::Kind::button ||
                            focused->row->kind == layout::Kind::graphicalButton)) {
                Click(*focused);
                return true;
            }
            if (keys::WhereEnterGoes(IsWindowEnabled(control("cmdNext"))) == keys::EnterGoesTo::nextButton) {
                Click(*find("cmdNext"));
                return true;
            }
        }
        return false;
    }
    if (message.message == WM_SYSKEYDOWN && (message.wParam == 'N' || message.wParam == 'X')) {
        // The access keys of "&Nuovo calcolo" and "E&xit"; a disabled button ignores its key.
        const Control& button = *find(message.wParam == 'N' ? "cmdNext" : "cmdExit");
        if (IsWindowEnabled(button.hwnd)) Click(button);
        return true;
    }
    return false;
}

void Tavola::Click(const Control& button)
{
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED), reinterpret_cast<LPARAM>(button.hwnd));
}

void Tavola::MoveFocus(int step)
{
    const Control* focused = find(GetFocus());
    const int count = static_cast<int>(kTabOrder.size());
    int at = count - 1;
    if (step < 0) at = 0;
    for (int i = 0; i < count; ++i)
        if (focused && focused->row->name == kTabOrder[static_cast<std::size_t>(i)]) at = i;
    for (int i = 1; i <= count; ++i) {
        HWND next = control(kTabOrder[static_cast<std::size_t>(((at + step * i) % count + count) % count)]);
        if (IsWindowVisible(next) && IsWindowEnabled(next)) {
            SetFocus(next);
            return;
        }
    }
}

bool Tavola::FilterCharacter(wchar_t& character)
{
    // Not typing (Ctrl+Backspace gives character 127): nothing for the box either.
    if (!keys::GoesThroughKeyFilter(character)) return false;
    const std::int16_t original = character < 256 ? static_cast<std::int16_t>(character) : kUnmappable;
    std::int16_t key = original;
    game_.txtAnswer_KeyPress(key);
    // The box never takes a line break: Enter has been evaluated.
    if (key == 0 || key == keys::kEnter) return false;
    if (key != original) character = static_cast<wchar_t>(static_cast<std::uint8_t>(key));
    return true;
}

void Tavola::PasteFiltered(HWND box)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(hwnd_)) return;
    std::wstring pasted;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    // Each pasted character goes through the same filter as a typed one. Control characters
    // (line breaks, tabs, backspace) are no typing here: a paste never evaluates or erases.
    std::wstring kept;
    for (wchar_t character : pasted) {
        if (character < L' ' || ended_) continue;
        if (FilterCharacter(character)) kept += character;
    }
    if (!kept.empty()) SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
}

void Tavola::RefilterAnswer(HWND box)
{
    // Whatever way text came in (a context menu's paste, a drop, another program's message),
    // the box keeps only what the key filter lets through.
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    std::wstring kept;
    for (wchar_t character : text)
        if (character >= L' ' && FilterCharacter(character)) kept += character;
    if (kept != text) SetWindowTextW(box, kept.c_str());
}

// ---- Messages ------------------------------------------------------------------------------

LRESULT CALLBACK Tavola::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Tavola* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Tavola*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Tavola*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
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
        if (!FilterCharacter(character)) return 0;
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
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, &Tavola::AnswerProc, 0);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT Tavola::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        PaintSurface(dc, POINT{0, 0}, paint.rcPaint);
        EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const Control* drawn = find(item.hwndItem);
        if (!drawn) break;
        if (drawn->row->kind == layout::Kind::graphicalButton)
            DrawButton(item, *drawn);
        else if (drawn->row->kind == layout::Kind::image)
            DrawImage(item, *drawn);
        else
            DrawLabel(item, *drawn);
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == control("txtAnswer")) {
            const auto& row = *find("txtAnswer")->row;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, RGB(row.back->red, row.back->green, row.back->blue));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(answerBack_);
        }
        break;
    case WM_COMMAND: {
        if (ended_) return 0;
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (lParam == 0) {  // a menu entry
            if (id == static_cast<int>(menuCommand("copy"))) copy_Click(3);
            return 0;
        }
        const Control* source = findId(id);
        if (source && source->row->kind == layout::Kind::textBox && code == EN_CHANGE) {
            RefilterAnswer(source->hwnd);
            return 0;
        }
        // An owner-drawn button reports a quick second click as a double click.
        if (!source || (code != BN_CLICKED && code != BN_DOUBLECLICKED)) break;
        if (source->row->name == "cmdNext")
            game_.cmdNext_Click();
        else if (source->row->name == "cmdExit")
            game_.cmdExit_Click();
        return 0;
    }
    case WM_INITMENUPOPUP:
        // The menu's click: it runs before its drop-down is shown.
        if (!HIWORD(lParam) && reinterpret_cast<HMENU>(wParam) == menu("Next") && !ended_) game_.Next_Click();
        return 0;
    case WM_ENTERMENULOOP:
        inMenuLoop_ = true;
        break;
    case WM_EXITMENULOOP:
        inMenuLoop_ = false;
        break;
    case WM_TIMER:
        if (wParam == kClockTimer && timerEnabled_ && !ended_) {
            game_.Timer1_Timer();
        } else if (wParam == kReloadRetryTimer) {
            KillTimer(hwnd_, kReloadRetryTimer);
            PostMessageW(hwnd_, kReloadMessage, 0, 0);
        }
        return 0;
    case kReloadMessage:
        Rebuild();
        return 0;
    case WM_ENTERIDLE:
        // At the first start the name prompt shows before the controls: they are built the
        // first time it waits for the pupil, once it is drawn. Keys typed meanwhile wait in
        // the queue for the prompt, which keeps the focus.
        if (wParam == MSGF_DIALOGBOX && controls_.empty() && !ended_) {
            RedrawWindow(reinterpret_cast<HWND>(lParam), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            BuildControls();
        }
        return 0;
    case WM_SIZE:
        if (IsWindowVisible(hwnd_) && !ended_) game_.Form_Resize(wParam == SIZE_MINIMIZED);
        return 0;
    case WM_ACTIVATE:
        // The focus comes back where it was when a dialog or another program is done.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused && IsChild(hwnd_, focused)) focusBeforeDeactivate_ = focused;
            return 0;
        }
        if (focusBeforeDeactivate_ && find(focusBeforeDeactivate_) && IsWindowEnabled(focusBeforeDeactivate_)) {
            SetFocus(focusBeforeDeactivate_);
            return 0;
        }
        break;
    case WM_SETCURSOR: {
        const auto over = reinterpret_cast<HWND>(wParam);
        if (over == hwnd_) {
            if (LOWORD(lParam) != HTCLIENT) break;
            SetCursor(windowPointer_);
            return TRUE;
        }
        const Control* hovered = find(over);
        if (!hovered) break;
        if (hovered->row->pointer == layout::Pointer::icon) {
            SetCursor(iconPointer_);
            return TRUE;
        }
        // Labels and the image show the window's pointer; buttons and the box their own.
        if (hovered->row->kind == layout::Kind::label || hovered->row->kind == layout::Kind::image) {
            SetCursor(windowPointer_);
            return TRUE;
        }
        break;
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        LoadPictures();
        Layout();
        SizeWindow();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    }
    case WM_CLOSE:
        // Closing the window from its frame ends the game as the Exit button does.
        if (!ended_) game_.cmdExit_Click();
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace brivana::win32
