#pragma once
// The game in this process, played as a pupil would through its real window: Qt's own dialogs
// answered as soon as they show, answers typed into the box, Enter, "Nuovo calcolo". The
// record lives in a temporary directory.

#include <QEvent>
#include <QObject>
#include <QTemporaryDir>

#include "game/record_store.h"
#include "system/register_stamps.h"
#include "system/system_file_access.h"
#include "system/system_date_time.h"
#include "system/system_random.h"
#include "window/qt_dialogs.h"
#include "window/tavola.h"

class QAbstractButton;
class QLineEdit;
namespace brivana::window {
class Surface;
}

namespace brivana::bench {

class Pupil final : public QObject, public RecordPlace {
public:
    // Starts the game as its program does; returns once the first question's gradient is on
    // screen. Throws if the window lacks what the pupil uses.
    Pupil();

    void type();          // the answer, right and wrong in turn, typed but not entered
    void enter();         // Enter pressed: the check, the verdict and the tallies
    void settle();        // Enter released and the window brought up to date
    void nextQuestion();  // "Nuovo calcolo" clicked and the new gradient painted at once

    bool eventFilter(QObject* watched, QEvent* event) override;
    RecordLocation locate() override { return {records_.path().toStdString() + "/", {}}; }
    QTemporaryDir& records() { return records_; }

private:
    void key(QEvent::Type type, int key, QChar text);

    QTemporaryDir records_;
    SystemRandom random_;
    SystemDateTime dateTime_;
    SystemFileAccess files_;
    SystemRegisterStamps stamps_;
    LocalRecordKeeper keeper_{files_, stamps_};
    window::QtDialogs dialogs_;
    Tavola tavola_;
    bool painted_ = false;
    QLineEdit* box_ = nullptr;
    QAbstractButton* next_ = nullptr;
    window::Surface* surface_ = nullptr;
    int answers_ = 0;
};

}  // namespace brivana::bench
