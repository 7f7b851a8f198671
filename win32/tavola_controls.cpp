// Building Tavola's controls and menus from the design tables, and laying them out at the
// window's DPI.
#include "win32/tavola.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cmath>

#include "layout/control_names.h"
#include "layout/dialog_width.h"
#include "layout/icon_pointer.h"
#include "layout/label_geometry.h"
#include "layout/menu_table.h"
#include "layout/window_place.h"
#include "win32/broken_lines.h"
#include "win32/dpi.h"
#include "win32/resource_ids.h"
#include "system/wide_text_windows.h"

namespace brivana::win32 {

namespace {

using namespace layout;

constexpr int kFirstControlId = 100;
constexpr UINT kFirstMenuCommand = 1000;

HFONT DesignFont(const FontSpec& design, UINT dpi)
{
    const int height = -static_cast<int>(std::lround(design.points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, design.weight == Weight::bold ? FW_BOLD : FW_NORMAL,
                       design.slant == Slant::italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       Wide(FaceName(design.face)).c_str());
}

// The stock "icon" pointer as the one-bit masks of a cursor: a drawn pixel clears the AND
// mask, a white one sets the XOR mask too.
HCURSOR MakeIconPointer()
{
    constexpr int size = kIconPointerSize;
    BYTE andMask[size * size / 8];
    BYTE xorMask[size * size / 8] = {};
    std::fill(std::begin(andMask), std::end(andMask), BYTE{0xFF});
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const PointerPixel pixel = IconPointerPixel(x, y);
            if (pixel == PointerPixel::transparent) continue;
            const int bit = y * size + x;
            const BYTE mask = static_cast<BYTE>(0x80 >> (bit % 8));
            andMask[bit / 8] = static_cast<BYTE>(andMask[bit / 8] & ~mask);
            if (pixel == PointerPixel::white) xorMask[bit / 8] = static_cast<BYTE>(xorMask[bit / 8] | mask);
        }
    }
    return CreateCursor(GetModuleHandleW(nullptr), kIconPointerHotSpot, kIconPointerHotSpot, size, size, andMask, xorMask);
}

HICON Picture(const wchar_t* resource, int size)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), resource, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The resource that holds a picture of the design table: its name in capitals, "_" for "-".
std::wstring PictureResource(std::string_view picture)
{
    std::wstring name;
    for (const char c : picture) name += c == '-' ? L'_' : static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name;
}

// The pictures a control of the design shows: its own, and its pressed and disabled ones.
constexpr std::string_view kPictureStates[] = {"", "-pressed", "-disabled"};

}  // namespace

HICON Tavola::Pictures::find(std::string_view name) const
{
    for (const auto& [picture, icon] : byName)
        if (picture == name) return icon.get();
    return nullptr;
}

void Tavola::LoadPictures()
{
    // The new pictures are in place before the window lets go of the old ones.
    const int picture = ScaledPixels(32, dpi_);
    Pictures loaded;
    loaded.big.reset(Picture(MAKEINTRESOURCEW(IDI_BRIVANA), picture));
    loaded.small.reset(Picture(MAKEINTRESOURCEW(IDI_BRIVANA), ScaledPixels(16, dpi_)));
    for (const ControlSpec& row : Controls()) {
        if (row.picture.empty()) continue;
        for (const std::string_view state : kPictureStates) {
            const std::string name = std::string(row.picture) + std::string(state);
            if (OwnedIcon icon(Picture(PictureResource(name).c_str(), picture)); icon)
                loaded.byName.emplace_back(name, std::move(icon));
        }
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(loaded.big.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(loaded.small.get()));
    pictures_ = std::move(loaded);
    if (!windowPointer_) windowPointer_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTER));
    if (!windowPointer_) windowPointer_ = LoadCursorW(nullptr, IDC_ARROW);
    if (!iconPointer_) iconPointer_.reset(MakeIconPointer());
}

void Tavola::buildControls()
{
    DestroyControls();
    draws_.reset();
    dpi_ = WindowDpi(hwnd_);
    LoadPictures();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto create = [&](const wchar_t* kind, const std::wstring& text, DWORD style, int id) {
        return CreateWindowExW(0, kind, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };

    int id = kFirstControlId;
    for (const ControlSpec& row : Controls()) {
        Control control{&row, id++, std::string(row.caption), false, {}, {}, {}};
        DWORD style = (row.shown == Shown::visible ? WS_VISIBLE : 0) | (row.enabled == Enabled::yes ? 0 : WS_DISABLED);
        const std::wstring name = Wide(row.accessibleName);
        switch (row.kind) {
        case Kind::timer: break;  // Tavola's own timer, restarted at every load
        case Kind::textBox:
            // Screen readers name an edit box after the label just before it, or as it says.
            answerName_.reset(create(L"STATIC", name, SS_NOPREFIX, 0));
            control.spoken.name = name;
            control.window.reset(create(L"EDIT", Wide(row.caption),
                                        style | WS_TABSTOP | ES_AUTOHSCROLL | WS_BORDER, control.id));
            SendMessageW(control.hwnd(), EM_LIMITTEXT, kAnswerMaxLength, 0);
            SetWindowSubclass(control.hwnd(), &Tavola::AnswerProc, 0, reinterpret_cast<DWORD_PTR>(this));
            // Only single typed characters reach the answer: no input-method text.
            ImmAssociateContext(control.hwnd(), nullptr);
            break;
        case Kind::graphicalButton:
            // Drawn here (face colour and pictures); its text is what a screen reader says.
            control.window.reset(create(L"BUTTON", name, style | WS_TABSTOP | BS_OWNERDRAW, control.id));
            SetWindowSubclass(control.hwnd(), &Tavola::SpokenProc, 0, reinterpret_cast<DWORD_PTR>(this));
            break;
        case Kind::button:
            // It shows its caption; a screen reader says its name.
            control.window.reset(
                create(L"BUTTON", Wide(row.caption), style | WS_TABSTOP | BS_PUSHBUTTON, control.id));
            control.spoken.name = name;
            SetWindowSubclass(control.hwnd(), &Tavola::SpokenProc, 0, reinterpret_cast<DWORD_PTR>(this));
            break;
        case Kind::label:
        case Kind::image:
            control.window.reset(create(L"STATIC", name, style | SS_OWNERDRAW | SS_NOTIFY, control.id));
            break;
        }
        controls_.push_back(std::move(control));
    }
    // Later controls are drawn over earlier ones, as they were created; but a label that shows
    // only its text on the gradient paints that gradient over whatever lies under it, so those
    // go below the rest: where lblMessage's box overlaps the clock's frame, the frame shows.
    const auto textOnly = [](const ControlSpec& row) {
        return row.kind == Kind::label && !row.back && row.frame == Frame::none;
    };
    for (bool below : {true, false}) {
        for (const Control& control : controls_) {
            if (control.hwnd() && textOnly(*control.row) == below)
                SetWindowPos(control.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    SetWindowPos(control(kFrontControl), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The answer box's name label just before it, as in a dialog.
    SetWindowPos(control(names::kAnswer), answerName_.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    notice_.reset(create(L"STATIC", L"", SS_NOPREFIX, 0));
    SetWindowSubclass(notice_.get(), &Tavola::SpokenProc, 0, reinterpret_cast<DWORD_PTR>(this));
    tooltips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance,
                                nullptr));
    SetWindowSubclass(tooltips_.get(), &Tavola::TooltipProc, 0, reinterpret_cast<DWORD_PTR>(this));
    for (const Control& control : controls_) {
        if (control.row->tooltip.empty() || !control.hwnd()) continue;
        std::wstring tip = Wide(control.row->tooltip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd());
        tool.lpszText = tip.data();
        SendMessageW(tooltips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        if (control.row->kind == Kind::graphicalButton) {
            // A disabled button gets no mouse input: the window under it shows its tooltip
            // then, over the button's rectangle (set by Layout).
            tool.uFlags = TTF_SUBCLASS;
            tool.uId = static_cast<UINT_PTR>(control.id);
            SendMessageW(tooltips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }

    Layout();
    BuildMenus();
}

void Tavola::BuildMenus()
{
    menuBar_.reset(CreateMenu());
    UINT command = kFirstMenuCommand;
    for (const MenuSpec& item : MenuItems()) {
        // A menu on the menu bar gets a space's room more: at 100 % Wine draws the bar's text a
        // little wider than it measures it, and the last letter ("g" of "www.example.org") was cut.
        const std::wstring caption = Wide(item.caption) + (item.menu.empty() ? L" " : L"");
        if (item.menu.empty()) {
            HMENU dropDown = CreatePopupMenu();
            AppendMenuW(menuBar_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown), caption.c_str());
            menus_.emplace_back(item.name, dropDown);
            continue;
        }
        AppendMenuW(menu(item.menu), MF_STRING, command, caption.c_str());
        menuCommands_.emplace_back(item.name, command++);
    }
    SetMenu(hwnd_, menuBar_.get());
}

void Tavola::DestroyControls()
{
    tooltips_.reset();
    answerName_.reset();
    notice_.reset();
    controls_.clear();
    // The window destroys the menu it holds: it lets go of it first.
    if (menuBar_) SetMenu(hwnd_, nullptr);
    menuBar_.reset();
    menus_.clear();
    menuCommands_.clear();
}

void Tavola::Layout()
{
    for (Control& control : controls_) {
        if (!control.hwnd()) continue;
        const ControlSpec& row = *control.row;
        OwnedFont font(DesignFont(row.font, dpi_));
        SendMessageW(control.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        control.font = std::move(font);
        SetWindowPos(control.hwnd(), nullptr, Pixels(row.left), Pixels(row.top), Pixels(row.width), Pixels(row.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (row.kind == Kind::graphicalButton && !row.tooltip.empty()) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = hwnd_;
            tool.uId = static_cast<UINT_PTR>(control.id);
            tool.rect = RECT{Pixels(row.left), Pixels(row.top), Pixels(row.left + row.width), Pixels(row.top + row.height)};
            SendMessageW(tooltips_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    for (Control& control : controls_)
        if (control.row->kind == Kind::label) FitLabel(control);
}

void Tavola::FitLabel(Control& label)
{
    const ControlSpec& row = *label.row;
    const auto rectOf = [&](HWND hwnd) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        return layout::Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    };
    const auto place = [](HWND hwnd, const layout::Rect& rect) {
        SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (row.fit == Fit::fitsText) {
        const std::wstring measuredText = Wide(MeasuredText(ShownLines(label.caption)));
        RECT measured{0, 0, 0, 0};
        {
            const WindowDc dc(label.hwnd());
            const Selection font(dc.get(), label.font.get());
            DrawTextW(dc.get(), measuredText.c_str(), -1, &measured, DT_CALCRECT | DT_NOPREFIX);
        }
        const int frame = row.frame == Frame::single ? 2 * ScaledPixels(1, dpi_) : 0;
        RECT client;
        GetClientRect(hwnd_, &client);
        const layout::Rect fitted =
            layout::FittedRect(rectOf(label.hwnd()), measured.right + frame, measured.bottom + frame, client.right);
        place(label.hwnd(), fitted);
        // Cut at the window's edge (DrawLabel draws the ellipsis), the whole text in its tooltip.
        const bool wasCut = std::exchange(label.cut, fitted.width < measured.right + frame);
        if (label.cut || wasCut) SetTooltip(label);
    }
    if (row.name == names::kSecondFactor) {
        const Control& bracket = *find(names::kClosingBracket);        const ControlSpec& design = *bracket.row;
        const layout::Rect atDesign{Pixels(design.left), Pixels(design.top), Pixels(design.width), Pixels(design.height)};
        place(bracket.hwnd(), layout::ClosingBracketRect(atDesign, rectOf(label.hwnd())));
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Tavola::SetTooltip(const Control& label)
{
    if (!tooltips_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(label.hwnd());
    SendMessageW(tooltips_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    std::wstring tip = Wide(LabelTooltip(label.row->tooltip, ShownLines(label.caption), label.cut));
    if (tip.empty()) return;
    if (label.cut) {
        // The whole text, in lines no wider than a message box's: a long name has no space.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
        const int width = WidestMessageText(monitor.rcWork.right - monitor.rcWork.left, dpi_ / 96.0);
        const WindowDc dc(tooltips_.get());
        const Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(tooltips_.get(), WM_GETFONT, 0, 0)));
        tip = win32::BrokenLines(dc.get(), tip, width);
        SendMessageW(tooltips_.get(), TTM_SETMAXTIPWIDTH, 0, width);
    }
    tool.lpszText = tip.data();
    SendMessageW(tooltips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tavola::SizeWindow()
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    const int width = Pixels(kClientWidthTwips);
    const int height = Pixels(kClientHeightTwips);
    RECT frame{0, 0, width, height};
    AdjustFrame(frame, style, true, exStyle, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps onto two lines takes more height: make up for it.
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != width || client.bottom != height)
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Tavola::PlaceAtStart()
{
    const auto rect = [](const RECT& r) { return layout::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; };
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    POINT client{0, 0};
    ClientToScreen(hwnd_, &client);
    OffsetRect(&frame, -client.x, -client.y);
    const layout::Point at = layout::StartPosition(rect(monitor.rcMonitor), rect(monitor.rcWork),
                                                   {Pixels(kClientLeftTwips), Pixels(kClientTopTwips)}, rect(frame));
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace brivana::win32
