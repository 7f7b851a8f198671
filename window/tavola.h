#pragma once
// Tavola, the game's one window on Qt: the window's protocol's port. It builds its controls
// and menus from the design tables when the protocol asks, hands every event to the game, and
// owns the one-second timer.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "window_protocol/window_protocol.h"

class QKeyEvent;
class QMenuBar;

namespace brivana {

namespace window {
class Announcer;
class CaptionLabel;
class Surface;
}  // namespace window

class Tavola final : public QMainWindow, public WindowPort {
    Q_OBJECT
public:
    Tavola(Services services, Dialogs& dialogs, QWidget* parent = nullptr);
    ~Tavola() override;

    // Loads the first game, shows the window and poses the first question.
    void start() { protocol_.start(); }
    bool hasEnded() const { return protocol_.ended(); }
    const Game& game() const { return protocol_.game(); }
    WindowProtocol& protocol() { return protocol_; }

    void buildControls() override;
    void showWindow() override;
    void hideWindow() override { hide(); }
    bool minimised() const override { return isMinimized(); }
    void setCaption(const std::string& caption) override { setWindowTitle(QString::fromStdString(caption)); }
    void setTimerRunning(bool running) override;
    void post(std::function<void()> call, int delayMs) override { QTimer::singleShot(delayMs, this, std::move(call)); }
    bool nestedLoopRunning() const override;
    void closeMenus() override;
    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    void enableControl(std::string_view control, bool enabled) override;
    void focusControl(std::string_view control) override;
    void eraseAnswerBeforeCaret() override;
    void setSpokenText(std::string_view control, const std::string& text) override;
    void announce(const std::string& words) override;
    bool canFocus(std::string_view control) const override;
    void paintBackground(std::int16_t p, std::int16_t q) override;
    DialogOwner dialogOwner() override { return static_cast<QWidget*>(this); }
    void loaded() override { emit gameLoaded(); }
    void ended() override { emit gameEnded(); }

signals:
    // The game has ended: the program is to stop now.
    void gameEnded();
    // A game's window is shown and its first question posed, at start and after a new game.
    void gameLoaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // Hands the keys pressed in a control to the protocol; sees the first frame of the name
    // prompt, during the first start only, and the window's own first exposure, when its frame
    // is known.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // Moves the window where the design puts it, kept inside the work area of its screen.
    void placeAtStart();
    // Keeps ")" beside the second factor, however wide its box has grown.
    void placeClosingBracket();
    // A key pressed while `focused` (a control, or null) has the focus: true when the protocol took it.
    bool handKey(const QKeyEvent& key, const QWidget* focused);
    // The design name of a control of the current load; empty for any other widget.
    std::string nameOf(const QWidget* widget) const;

    QWidget* control(std::string_view name) const;
    window::CaptionLabel* label(Field field) const;

    WindowProtocol protocol_;
    QTimer timer_;
    window::Surface* surface_ = nullptr;
    window::Announcer* announcer_ = nullptr;
    QPointer<QMenuBar> menus_;
    QHash<QString, QWidget*> controls_;  // by design name, for the current load
    bool placed_ = false;  // shown once: from then on the window stays where the pupil puts it
};

}  // namespace brivana
