#include "win32/tavola.h"

#include <commctrl.h>

#include <algorithm>

#include "layout/control_names.h"
#include "layout/titles.h"
#include "system/wide_text_windows.h"
#include "win32/dpi.h"

namespace brivana::win32 {

namespace {

constexpr wchar_t kClassName[] = L"BrivanaTavola";

constexpr UINT_PTR kClockTimer = 1;
constexpr UINT_PTR kDeferredTimer = 2;
// Posted by post(): the protocol's call runs once the handler that asked has returned.
constexpr UINT kDeferredMessage = WM_APP + 1;

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
    : protocol_(*this, dialogs, services), ended_callback_(std::move(ended))
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterClassOnce(instance);
    // Fixed size, as the design's layout is: it can be minimised and restored, not resized.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    window_.reset(CreateWindowExW(0, kClassName, Wide(layout::kLoadCaption).c_str(), style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this));
    hwnd_ = window_.get();
    // The answer box's back, as the design gives it.
    if (const auto& back = layout::FindControl(layout::names::kAnswer)->back)
        answerBack_.reset(CreateSolidBrush(RGB(back->red, back->green, back->blue)));
    // The controls wait for the name prompt, the first thing the pupil sees (see OnEnterIdle).
}

Tavola::~Tavola()
{
    if (!hwnd_) return;
    KillTimer(hwnd_, kClockTimer);
    KillTimer(hwnd_, kDeferredTimer);
    DestroyControls();
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    window_.reset();
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

HWND Tavola::control(std::string_view name) const
{
    const Control* found = find(name);
    return found ? found->hwnd() : nullptr;
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

// ---- The port the protocol drives ----------------------------------------------------------

void Tavola::showWindow()
{
    SizeWindow();
    if (!placed_) {
        placed_ = true;
        PlaceAtStart();
    }
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

void Tavola::setCaption(const std::string& caption) { SetWindowTextW(hwnd_, Wide(caption).c_str()); }

void Tavola::setTimerRunning(bool running)
{
    if (running == timerRunning_) return;
    timerRunning_ = running;
    if (running)
        SetTimer(hwnd_, kClockTimer, layout::kTimerIntervalMs, nullptr);
    else
        KillTimer(hwnd_, kClockTimer);
}

void Tavola::post(std::function<void()> call, int delayMs)
{
    deferred_ = std::move(call);
    if (delayMs > 0)
        SetTimer(hwnd_, kDeferredTimer, static_cast<UINT>(delayMs), nullptr);
    else
        PostMessageW(hwnd_, kDeferredMessage, 0, 0);
}

void Tavola::RunDeferred()
{
    if (auto call = std::exchange(deferred_, nullptr)) call();
}

void Tavola::closeMenus()
{
    if (inMenuLoop_) EndMenu();
}

std::string Tavola::text(Field field) const
{
    if (field == Field::txtAnswer) {
        HWND box = control(layout::names::kAnswer);
        std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        typed.resize(static_cast<std::size_t>(GetWindowTextW(box, typed.data(), static_cast<int>(typed.size()))));
        return Utf8(typed);
    }
    return label(field).caption;
}

void Tavola::setText(Field field, const std::string& text)
{
    if (field == Field::txtAnswer) {
        SetWindowTextW(control(layout::names::kAnswer), Wide(text).c_str());
        return;
    }
    Control& shown = label(field);
    shown.caption = text;
    FitLabel(shown);
    InvalidateRect(shown.hwnd(), nullptr, FALSE);
}

void Tavola::focusControl(std::string_view name)
{
    // While a dialog is open the window is disabled: the protocol gives the focus again once
    // the window is active.
    if (IsWindowEnabled(hwnd_)) SetFocus(control(name));
}

void Tavola::eraseAnswerBeforeCaret()
{
    HWND box = control(layout::names::kAnswer);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (end == 0) return;
    SendMessageW(box, EM_SETSEL, 0, static_cast<LPARAM>(end));
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

void Tavola::setSpokenText(std::string_view name, const std::string& text)
{
    // A label is read by its name, its window text, which it never draws itself; a control
    // that takes the focus says its name, then its description.
    Control& spoken = *find(name);
    if (spoken.row->kind == layout::Kind::label) {
        SetWindowTextW(spoken.hwnd(), Wide(text).c_str());
        return;
    }
    spoken.spoken.description = Wide(text);
    if (GetFocus() == spoken.hwnd())
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, spoken.hwnd(), OBJID_CLIENT, CHILDID_SELF);
}

void Tavola::announce(const std::string& words)
{
    SetWindowTextW(notice_.get(), Wide(words).c_str());
    NotifyWinEvent(EVENT_SYSTEM_ALERT, notice_.get(), OBJID_CLIENT, CHILDID_SELF);
}

void Tavola::paintBackground(std::int16_t p, std::int16_t q)
{
    draws_.emplace(p, q);
    // The labels with a transparent back show the new tint too.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Tavola::ended()
{
    if (ended_callback_) ended_callback_();
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

LRESULT Tavola::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
    case WM_PAINT: return OnPaint();
    case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLOREDIT: return OnColourEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_INITMENUPOPUP: return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
    case WM_ENTERMENULOOP: inMenuLoop_ = true; break;
    case WM_EXITMENULOOP: return OnExitMenuLoop();
    case WM_TIMER: return OnTimer(wParam);
    case kDeferredMessage: RunDeferred(); return 0;
    case WM_ENTERIDLE: return OnEnterIdle(wParam, reinterpret_cast<HWND>(lParam));
    case WM_SIZE: return OnSize(wParam);
    case WM_ACTIVATE: return OnActivate(wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_CLOSE: return OnClose();
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Tavola::OnPaint()
{
    const Painting painting(hwnd_);
    PaintSurface(painting.dc(), POINT{0, 0}, painting.area());
    return 0;
}

LRESULT Tavola::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    const Control* drawn = find(item.hwndItem);
    if (!drawn) return FALSE;
    if (drawn->row->kind == layout::Kind::graphicalButton)
        DrawButton(item, *drawn);
    else if (drawn->row->kind == layout::Kind::image)
        DrawImage(item, *drawn);
    else
        DrawLabel(item, *drawn);
    return TRUE;
}

LRESULT Tavola::OnColourEdit(HDC dc, HWND box)
{
    const Control* answer = find(box);
    if (!answer || answer->row->kind != layout::Kind::textBox)
        return DefWindowProcW(hwnd_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box));
    if (const auto& back = answer->row->back) SetBkColor(dc, RGB(back->red, back->green, back->blue));
    const auto& text = answer->row->text;
    SetTextColor(dc, text ? RGB(text->red, text->green, text->blue) : GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(answerBack_.get());
}

LRESULT Tavola::OnCommand(int id, int code, HWND source)
{
    if (hasEnded()) return 0;
    if (!source) {  // a menu entry
        for (const auto& [entry, command] : menuCommands_)
            if (static_cast<int>(command) == id) protocol_.menuEntryChosen(entry);
        return 0;
    }
    const Control* from = findId(id);
    if (from && from->row->kind == layout::Kind::textBox && code == EN_CHANGE) {
        RefilterAnswer(from->hwnd());
        return 0;
    }
    // An owner-drawn button reports a quick second click as a double click.
    if (!from || (code != BN_CLICKED && code != BN_DOUBLECLICKED)) return 0;
    protocol_.click(from->row->name);
    return 0;
}

LRESULT Tavola::OnInitMenuPopup(HMENU popup, bool systemMenu)
{
    // The menu's click: it runs before its drop-down is shown.
    if (systemMenu) return 0;
    for (const auto& [name, handle] : menus_) {
        if (handle == popup) {
            protocol_.menuOpened(name);
            break;
        }
    }
    return 0;
}

LRESULT Tavola::OnExitMenuLoop()
{
    inMenuLoop_ = false;
    protocol_.regainFocus();
    return 0;
}

LRESULT Tavola::OnTimer(UINT_PTR timer)
{
    if (timer == kClockTimer && timerRunning_ && !hasEnded()) {
        protocol_.game().Timer1_Timer();
    } else if (timer == kDeferredTimer) {
        KillTimer(hwnd_, kDeferredTimer);
        RunDeferred();
    }
    return 0;
}

LRESULT Tavola::OnEnterIdle(WPARAM source, HWND dialog)
{
    // At the first start the name prompt shows before the controls: they are built the first
    // time it waits for the pupil, once it is drawn. Keys typed meanwhile wait in the queue
    // for the prompt, which keeps the focus.
    if (source == MSGF_DIALOGBOX && !protocol_.controlsBuilt() && !hasEnded()) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        protocol_.promptOnScreen();
    }
    return 0;
}

LRESULT Tavola::OnSize(WPARAM kind)
{
    if (IsWindowVisible(hwnd_) && !hasEnded()) protocol_.game().Form_Resize(kind == SIZE_MINIMIZED);
    return 0;
}

LRESULT Tavola::OnActivate(WPARAM state, LPARAM other)
{
    // The focus comes back where the protocol says when a dialog or another program is done.
    if (LOWORD(state) == WA_INACTIVE) {
        if (const Control* focused = find(GetFocus())) protocol_.focusSeen(focused->row->name);
        return 0;
    }
    protocol_.regainFocus();
    if (find(GetFocus())) return 0;
    return DefWindowProcW(hwnd_, WM_ACTIVATE, state, other);
}

LRESULT Tavola::OnSetCursor(HWND over, LPARAM hitAndMouse)
{
    const auto fallBack = [&] {
        return DefWindowProcW(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), hitAndMouse);
    };
    if (over == hwnd_ && LOWORD(hitAndMouse) != HTCLIENT) return fallBack();
    // The control drawn on top counts, disabled or not: a disabled cmdNext gets no mouse
    // messages, and the pointer reaches Command1 beneath it.
    POINT at;
    GetCursorPos(&at);
    const Control* hovered = find(TopControlAt(at));
    if (!hovered) {
        if (over != hwnd_) return fallBack();
        SetCursor(windowPointer_);
        return TRUE;
    }
    if (!IsWindowEnabled(hovered->hwnd())) {
        // Nor do the tooltips see the pointer there: they hear of it here.
        ScreenToClient(hwnd_, &at);
        MSG moved{hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), static_cast<DWORD>(GetMessageTime()), {}};
        SendMessageW(tooltips_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&moved));
    }
    if (hovered->row->pointer == layout::Pointer::icon) {
        SetCursor(iconPointer_.get());
        return TRUE;
    }
    // Labels and the image show the window's pointer; buttons and the box their own.
    if (hovered->row->kind == layout::Kind::label || hovered->row->kind == layout::Kind::image) {
        SetCursor(windowPointer_);
        return TRUE;
    }
    return fallBack();
}

HWND Tavola::TopControlAt(POINT screen) const
{
    ScreenToClient(hwnd_, &screen);
    HWND top = ChildWindowFromPointEx(hwnd_, screen, CWP_SKIPINVISIBLE);
    return top == hwnd_ ? nullptr : top;
}

LRESULT CALLBACK Tavola::TooltipProc(HWND tips, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    // Over a disabled control the tooltips ask the window, which holds that control's tool.
    if (message == TTM_WINDOWFROMPOINT) {
        const auto& tavola = *reinterpret_cast<const Tavola*>(self);
        HWND top = tavola.TopControlAt(*reinterpret_cast<const POINT*>(lParam));
        if (top && !IsWindowEnabled(top)) return reinterpret_cast<LRESULT>(tavola.hwnd_);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(tips, &Tavola::TooltipProc, 0);
    }
    return DefSubclassProc(tips, message, wParam, lParam);
}

LRESULT Tavola::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LoadPictures();
    Layout();
    SizeWindow();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

LRESULT Tavola::OnClose()
{
    // Closing the window from its frame ends the game as the Exit button does.
    if (!hasEnded()) protocol_.game().Form_Unload();
    return 0;
}

}  // namespace brivana::win32
