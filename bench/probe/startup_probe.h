#pragma once
// Watches every event of the game for the moments the benchmark measures, and answers the
// game's dialogs at once where asked to. Installed on the application; the game is not
// changed for it.

#include <QObject>
#include <functional>

class QWidget;

namespace brivana::bench {

class StartupProbe final : public QObject {
    Q_OBJECT
public:
    // answerDialogs: accept each dialog as soon as it is shown, with a name for the prompt.
    // firstQuestion: called once the first question's gradient is on screen.
    StartupProbe(bool answerDialogs, std::function<void()> firstQuestion);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer(QWidget* dialog);

    bool answerDialogs_;
    std::function<void()> firstQuestion_;
    bool windowSeen_ = false;
    bool questionSeen_ = false;
};

}  // namespace brivana::bench
