#pragma once
// One game of Brivana in the real window, with scripted dialogs and draws, a fixed clock
// and a temporary record directory that the test owns.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "fake_services.h"
#include "game/record_store.h"
#include "scripted_dialogs.h"
#include "window/caption_label.h"
#include "window/qt_dialogs.h"
#include "window/tavola.h"

namespace brivana::test {

inline const QString kNow = QString::fromStdString(testing::kNow);

class TestGame {
public:
    TestGame();
    ~TestGame();

    // Writes a record file before the game starts.
    void writeRecord(const QByteArray& score, const QByteArray& holder);
    QByteArray scoreFile() const;
    QByteArray holderFile() const;

    // Scripts the name prompt and the greeting, then loads, shows and activates the window.
    void start(const QString& name);
    // The next message box is the program's real one, with its nested event loop and its
    // window; the button of the answer is pressed once the box is open.
    void answerInRealBox(MsgAnswer answer);
    // The texts of the message boxes shown so far.
    QStringList messages() const;

    template <typename T = QWidget>
    T* control(const QString& name) const
    {
        return tavola->findChild<T*>(name);
    }
    // The caption of a label, or the text of the answer box.
    QString text(const QString& name) const;
    QTimer* timer() const { return tavola->findChild<QTimer*>(QStringLiteral("Timer1")); }
    // One tick of Timer1, delivered as the timer itself receives it.
    void tick(int times = 1);
    // Types into the answer box as the player would, then presses Enter.
    void answer(const QString& typed);
    // The client area as the screen shows it once the event loop has run: only what the
    // window really painted, nothing forced.
    QImage screen() const;
    // A left click at a point of the client area, on whatever is on top there.
    void clickAt(QPoint point);

    testing::TempDir dir;
    testing::ScriptedRandom random;
    ScriptedDialogs dialogs;
    std::unique_ptr<Tavola> tavola;

private:
    window::QtDialogs realDialogs_;
    testing::FixedDateTime dateTime_;
    testing::FixedRecordPlace place_{dir.recordDir()};
    SystemFileAccess files_;
    testing::FixedRegisterStamps stamps_;
    LocalRecordKeeper records_{files_, stamps_};
};

}  // namespace brivana::test
