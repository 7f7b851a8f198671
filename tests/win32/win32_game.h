#pragma once
// One game of Brivana in the real Win32 window, driven through its messages as Windows would
// deliver them, with scripted dialogs and draws, a fixed clock and a temporary record folder.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_services.h"
#include "game/record_store.h"
#include "scripted_dialogs.h"
#include "win32/tavola.h"

namespace brivana::test {

using testing::kNow;

class Win32Game : public ::testing::Test {
protected:
    Win32Game();
    ~Win32Game() override;

    // A new window whose dialogs come from the given ones rather than the script.
    void UseDialogs(Dialogs& other);
    // Scripts the name prompt and the greeting, then loads, shows and activates the window.
    void Start(const std::string& name);
    // Delivers every waiting message as the program's loop does; the real clock does not tick.
    void Pump();

    HWND Control(const char* name) const { return tavola->control(name); }
    std::string Text(Field field) const { return tavola->text(field); }
    std::wstring WindowText(HWND hwnd) const;
    // Characters typed on the keyboard, to the control with the focus.
    void Type(const std::wstring& characters);
    // A key pressed and released, to the control with the focus; with Alt as a system key.
    void Key(UINT virtualKey, bool alt = false);
    // Types into the answer box, then presses Enter.
    void Answer(const std::wstring& typed);
    // A left click at a point of the client area, on whatever is drawn there.
    void ClickAt(POINT client);
    void ClickOn(const char* name);
    // One tick of Timer1, delivered as Windows delivers it, while the timer is running.
    void Tick(int times = 1);
    // Opens a menu of the menu bar: Windows asks the window to fill its drop-down first.
    void OpenMenu(const char* name);
    // The rectangle of a control in client coordinates.
    RECT Rect(const char* name) const;
    COLORREF PixelAt(POINT client) const;

    std::string ScoreFile() const { return testing::ReadBytes(dir.file("briv2s.txt")); }
    std::string HolderFile() const { return testing::ReadBytes(dir.file("nbriv2s.txt")); }

    testing::TempDir dir;
    testing::ScriptedRandom random;
    ScriptedDialogs dialogs;
    std::unique_ptr<win32::Tavola> tavola;

private:
    testing::FixedDateTime dateTime_;
    testing::FixedRecordPlace place_{dir.recordDir()};
    testing::FaultyFileAccess files_;
    testing::FixedRegisterStamps stamps_;
    LocalRecordKeeper records_{files_, stamps_};
};

}  // namespace brivana::test
