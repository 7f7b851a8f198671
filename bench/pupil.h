#pragma once
// The game's real window in this process, played as a pupil plays it, for the timings of one
// question and one answer. Dialogs are answered at once without being shown (a name, OK, No),
// and the record lives in a temporary directory.

#include <QTemporaryDir>
#include <memory>

#include "game/system_date_time.h"
#include "game/system_file_access.h"
#include "game/record_place.h"
#include "game/system_random.h"
#include "window/dialogs.h"

class QAbstractButton;
class QLineEdit;

namespace brivana {
class Tavola;
namespace window {
class Surface;
}
}  // namespace brivana

namespace brivana::bench {

class Pupil {
public:
    Pupil();  // starts the game and waits until its window is on screen
    ~Pupil();

    // Types the answer (right or wrong in turn) without entering it.
    void type();
    // Enter pressed: the check, the verdict and the tallies.
    void enter();
    // The rest of the answer's handling: Enter released and the window brought up to date.
    void settle();
    // The "Nuovo calcolo" button clicked (cmdNext_Click) and the new gradient painted at once.
    void nextQuestion();

private:
    class InstantDialogs;
    std::unique_ptr<InstantDialogs> dialogs_;
    QTemporaryDir records_;
    std::unique_ptr<RecordPlace> place_;
    SystemRandom random_;
    SystemDateTime dateTime_;
    SystemFileAccess files_;
    std::unique_ptr<Tavola> tavola_;
    QLineEdit* box_ = nullptr;
    QAbstractButton* next_ = nullptr;
    window::Surface* surface_ = nullptr;
    int answers_ = 0;
};

}  // namespace brivana::bench
