#pragma once
// Plays a few questions through the window as a player would (an answer typed and entered,
// then the "Nuovo calcolo" button), a step every few milliseconds so that every frame is
// painted, and then leaves the game waiting for an answer.

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace brivana::bench {

class MidGame final : public QObject {
    Q_OBJECT
public:
    // done: called once the last question is posed and waits for its answer.
    MidGame(QWidget& window, int questions, std::function<void()> done);

    void start();

private:
    void step();
    void typeInto(QWidget* widget, int key, const QString& text);

    QWidget& window_;
    int stepsLeft_;
    bool answering_ = true;
    std::function<void()> done_;
    QTimer timer_;
};

}  // namespace brivana::bench
