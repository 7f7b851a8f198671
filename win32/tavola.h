#pragma once
// Tavola on Windows: the game's one window and the real GameView, on the Win32 API. It builds
// its controls and menus from the design tables at every load (the first time once the name
// prompt is on screen), passes each event to the game's handler of the same name, repaints the
// gradient from the stored draws at every WM_PAINT and owns the one-second timer. One static
// window procedure hands every message to HandleMessage.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/game.h"
#include "layout/control_table.h"
#include "win32/dialogs.h"

namespace brivana::win32 {

class Tavola final : public GameView {
public:
    // ended runs once, when the game has ended the program.
    Tavola(Services services, Dialogs& dialogs, std::function<void()> ended = {});
    ~Tavola() override;
    Tavola(const Tavola&) = delete;
    Tavola& operator=(const Tavola&) = delete;

    // Loads the first game, shows the window and poses the first question.
    void start();
    HWND hwnd() const { return hwnd_; }
    bool hasEnded() const { return ended_; }
    const Game& game() const { return game_; }
    bool timerEnabled() const { return timerEnabled_; }
    // The pixels per inch the window is laid out for.
    UINT dpi() const { return dpi_; }

    // The keys the window takes before the focused control sees them: Tab and Shift+Tab in
    // the tab order, Enter for the focused or the default button, Alt+N and Alt+X. The message
    // loop calls it for every message; true when the message was used here.
    bool PreTranslate(const MSG& message);

    // The window of a control of the current load, by design name; null for none (or Timer1).
    HWND control(std::string_view name) const;
    // The drop-down of a menu on the menu bar, by design name.
    HMENU menu(std::string_view name) const;
    // The command identifier of a menu entry, by design name; 0 for none.
    UINT menuCommand(std::string_view name) const;

    // The credits entry of the menu; its index within its group is not used.
    void copy_Click(std::int16_t index);

    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    void setNextEnabled(bool enabled) override;
    void focusNext() override;
    void focusAnswer() override;
    void setTimerEnabled(bool enabled) override;
    MsgAnswer messageBox(const std::string& text, int style, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    void paintBackground(std::int16_t p, std::int16_t q) override;
    void setCaption(const std::string& caption) override;
    void endProgram() override;
    void reload() override;

private:
    struct Control {
        const layout::ControlSpec* row;
        HWND hwnd = nullptr;
        int id = 0;
        std::string caption;  // a label's text exactly as set, CR LF included
        HFONT font = nullptr;
    };

    static void RegisterClassOnce(HINSTANCE instance);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AnswerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleAnswerMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    // tavola_controls.cpp: every control and menu item afresh with its design-time values.
    void BuildControls();
    void BuildMenus();
    void DestroyControls();
    // Positions, fonts and fitted sizes for the current DPI; captions are kept.
    void Layout();
    void FitLabel(Control& label);
    void UpdateAccessibleText(const Control& label);
    void SizeWindow();
    void LoadPictures();

    // tavola_paint.cpp
    void PaintSurface(HDC dc, POINT origin, const RECT& area) const;
    void DrawLabel(const DRAWITEMSTRUCT& item, const Control& label) const;
    void DrawHalo(HDC dc, POINT origin, const RECT& area, const std::wstring& text, const RECT& rect, UINT format,
                  COLORREF colour) const;
    void DrawButton(const DRAWITEMSTRUCT& item, const Control& button) const;
    void DrawImage(const DRAWITEMSTRUCT& item, const Control& image) const;

    // Form_Load, then show, then Form_Activate.
    void LoadAndShow();
    void Rebuild();
    void Click(const Control& button);
    void MoveFocus(int step);
    // One typed character through the game's key filter; false when the box must not get it.
    bool FilterCharacter(wchar_t& character);
    void PasteFiltered(HWND box);
    void RefilterAnswer(HWND box);

    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    const Control* find(HWND hwnd) const;
    const Control* findId(int id) const;
    Control& label(Field field);
    const Control& label(Field field) const;
    int Pixels(int twips) const;

    Dialogs& dialogs_;
    Game game_;
    std::function<void()> ended_callback_;
    HWND hwnd_ = nullptr;
    HWND tooltips_ = nullptr;
    HWND answerName_ = nullptr;  // hidden label that gives the answer box its accessible name
    HMENU menuBar_ = nullptr;
    std::vector<std::pair<std::string_view, HMENU>> menus_;
    std::vector<std::pair<std::string_view, UINT>> menuCommands_;
    std::vector<Control> controls_;
    UINT dpi_ = 96;
    HCURSOR windowPointer_ = nullptr;
    HCURSOR iconPointer_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HICON clock_ = nullptr;
    HICON next_ = nullptr;
    HICON nextPressed_ = nullptr;
    HICON nextDisabled_ = nullptr;
    HICON exit_ = nullptr;
    HBRUSH answerBack_ = nullptr;
    std::optional<std::pair<std::int16_t, std::int16_t>> draws_;
    HWND focusBeforeDeactivate_ = nullptr;
    int openDialogs_ = 0;
    bool inMenuLoop_ = false;
    bool timerEnabled_ = false;
    bool ended_ = false;
    bool reloadPending_ = false;
};

}  // namespace brivana::win32
