#pragma once
// Tavola on Windows: the game's one window on the Win32 API, the window's protocol's port. It
// builds its controls and menus from the design tables when the protocol asks, hands every
// event to the game, repaints the gradient from the stored draws at every WM_PAINT and owns
// the one-second timer. One static window procedure hands every message to HandleMessage.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layout/contrast.h"
#include "layout/control_table.h"
#include "system/owned_handle_windows.h"
#include "win32/spoken_accessible.h"
#include "window_protocol/window_protocol.h"

namespace brivana::win32 {

class Tavola final : public WindowPort {
public:
    // ended runs once, when the game has ended the program.
    Tavola(Services services, Dialogs& dialogs, std::function<void()> ended = {});
    ~Tavola() override;
    Tavola(const Tavola&) = delete;
    Tavola& operator=(const Tavola&) = delete;

    // Loads the first game, shows the window and poses the first question.
    void start() { protocol_.start(); }
    HWND hwnd() const { return hwnd_; }
    bool hasEnded() const { return protocol_.ended(); }
    const Game& game() const { return protocol_.game(); }
    WindowProtocol& protocol() { return protocol_; }
    bool timerEnabled() const { return timerRunning_; }
    // The pixels per inch the window is laid out for.
    UINT dpi() const { return dpi_; }

    // The keys the window's protocol takes before the focused control sees them (Tab, Enter,
    // Ctrl+Enter, Ctrl+Backspace, Esc, F2, the access keys). The message loop calls it for
    // every message; true when the message was used here.
    bool PreTranslate(const MSG& message);

    // The window of a control of the current load, by design name; null for none (or Timer1).
    HWND control(std::string_view name) const;
    // The drop-down of a menu on the menu bar, by design name.
    HMENU menu(std::string_view name) const;
    // The command identifier of a menu entry, by design name; 0 for none.
    UINT menuCommand(std::string_view name) const;

    void buildControls() override;
    void showWindow() override;
    void hideWindow() override { ShowWindow(hwnd_, SW_HIDE); }
    bool minimised() const override { return IsIconic(hwnd_); }
    void setCaption(const std::string& caption) override;
    void setTimerRunning(bool running) override;
    void post(std::function<void()> call, int delayMs) override;
    bool nestedLoopRunning() const override { return inMenuLoop_; }
    void closeMenus() override;
    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    void enableControl(std::string_view name, bool enabled) override { EnableWindow(control(name), enabled); }
    void focusControl(std::string_view name) override;
    void eraseAnswerBeforeCaret() override;
    void setSpokenText(std::string_view name, const std::string& text) override;
    void announce(const std::string& words) override;
    bool canFocus(std::string_view name) const override
    {
        return IsWindowVisible(control(name)) && IsWindowEnabled(control(name));
    }
    void paintBackground(std::int16_t p, std::int16_t q) override;
    DialogOwner dialogOwner() override { return hwnd_; }
    void loaded() override {}
    void ended() override;

private:
    struct Control {
        const layout::ControlSpec* row;
        int id = 0;
        std::string caption;  // a label's text exactly as set, CR LF included
        bool cut = false;     // a label cut at the window's edge
        OwnedFont font;       // declared before the window: freed after it
        OwnedWindow window;
        SpokenWords spoken;  // a focusable control's own, for screen readers
        HWND hwnd() const { return window.get(); }
    };
    // The program's icon, and the controls' pictures by the name the design table gives them
    // ("next", "next-pressed"...).
    struct Pictures {
        OwnedIcon big, small;
        std::vector<std::pair<std::string, OwnedIcon>> byName;
        HICON find(std::string_view name) const;
    };

    static void RegisterClassOnce(HINSTANCE instance);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The buttons' and the notice's own procedure: their words for screen readers.
    static LRESULT CALLBACK SpokenProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    static LRESULT CALLBACK AnswerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    // The tooltips' own procedure: over a disabled control they look for a tool of the window.
    static LRESULT CALLBACK TooltipProc(HWND tips, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // tavola.cpp: the window's messages, one handler each.
    LRESULT OnPaint();
    LRESULT OnDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT OnColourEdit(HDC dc, HWND box);
    LRESULT OnCommand(int id, int code, HWND source);
    LRESULT OnInitMenuPopup(HMENU menu, bool systemMenu);
    LRESULT OnExitMenuLoop();
    LRESULT OnTimer(UINT_PTR timer);
    LRESULT OnEnterIdle(WPARAM source, HWND dialog);
    LRESULT OnSize(WPARAM kind);
    LRESULT OnActivate(WPARAM state, LPARAM other);
    LRESULT OnSetCursor(HWND over, LPARAM hitAndMouse);
    LRESULT OnDpiChanged(UINT dpi, const RECT& suggested);
    // The control drawn on top at a point of the screen, enabled or not; null for none.
    HWND TopControlAt(POINT screen) const;
    LRESULT OnClose();
    void RunDeferred();

    // tavola_keys.cpp: every key and typed character, in one place.
    LRESULT HandleAnswerMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    // One typed character through the protocol's key filter; false when the box must not get it.
    bool FilterCharacter(wchar_t& character, bool pasted);
    void PasteFiltered(HWND box);
    void RefilterAnswer(HWND box);

    // tavola_controls.cpp: every control and menu item afresh with its design-time values.
    void BuildMenus();
    void DestroyControls();
    // Positions, fonts and fitted sizes for the current DPI; captions are kept.
    void Layout();
    void FitLabel(Control& label);
    // A label's tooltip: the design's, or its whole text while it is cut.
    void SetTooltip(const Control& label);
    void SizeWindow();
    // Moves the window where the design puts it, kept inside the work area of its monitor.
    void PlaceAtStart();
    void LoadPictures();

    // tavola_paint.cpp
    void PaintSurface(HDC dc, POINT origin, const RECT& area) const;
    void DrawLabel(const DRAWITEMSTRUCT& item, const Control& label) const;
    void DrawButton(const DRAWITEMSTRUCT& item, const Control& button) const;
    void DrawImage(const DRAWITEMSTRUCT& item, const Control& image) const;

    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    const Control* find(HWND hwnd) const;
    const Control* findId(int id) const;
    Control& label(Field field) { return *find(fieldName(field)); }
    const Control& label(Field field) const { return *find(fieldName(field)); }
    int Pixels(int twips) const;

    WindowProtocol protocol_;
    std::function<void()> ended_callback_;
    std::function<void()> deferred_;  // the protocol's call waiting for the message loop
    HWND hwnd_ = nullptr;  // held by window_ once created
    OwnedWindow window_;
    OwnedWindow tooltips_;
    OwnedWindow answerName_;  // hidden label that gives the answer box its accessible name
    OwnedWindow notice_;      // hidden label: what a screen reader is told at once, as an alert
    OwnedMenu menuBar_;
    std::vector<std::pair<std::string_view, HMENU>> menus_;
    std::vector<std::pair<std::string_view, UINT>> menuCommands_;
    std::vector<Control> controls_;
    UINT dpi_ = 96;
    HCURSOR windowPointer_ = nullptr;  // a shared resource: never destroyed
    OwnedCursor iconPointer_;
    Pictures pictures_;
    OwnedBrush answerBack_;
    layout::Draws draws_;
    bool inMenuLoop_ = false;
    bool timerRunning_ = false;
    bool placed_ = false;  // shown once: from then on the window stays where the pupil puts it
};

}  // namespace brivana::win32
