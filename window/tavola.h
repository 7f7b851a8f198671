#pragma once
// Tavola, the game's one window and the real GameView. It builds its controls and menus from
// the design tables at every load (the first time while the name prompt is open), passes each
// event to the game's handler of the same name, and owns the one-second timer.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>

#include "game/game.h"
#include "window/dialogs.h"

class QAbstractButton;
class QMenuBar;

namespace brivana {

namespace window {
class AnswerBox;
class CaptionLabel;
class Surface;
}  // namespace window

class Tavola final : public QMainWindow, public GameView {
    Q_OBJECT
public:
    Tavola(Services services, window::Dialogs& dialogs, QWidget* parent = nullptr);
    ~Tavola() override;

    // Loads the first game, shows the window and poses the first question.
    void start();
    // Whether the game has ended the program.
    bool hasEnded() const { return ended_; }
    const Game& game() const { return game_; }

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

signals:
    // The game has ended: the program is to stop now.
    void ended();
    // A game's window is shown and its first question posed, at start and after a new game.
    void loaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Sees the first frame of the name prompt, during the first start only.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Creates every control and menu item afresh with its design-time values; the previous
    // ones are deleted once control is back in the event loop.
    void buildControls();
    void buildMenus();
    // Keeps ")" beside the second factor, however wide its box has grown.
    void placeClosingBracket();
    void restoreFocusAfterMenu();
    // Form_Load, then show, then Form_Activate.
    void loadAndShow();
    void rebuild();

    QWidget* control(const QString& name) const;
    window::CaptionLabel* label(Field field) const;
    window::AnswerBox* answerBox() const;
    QAbstractButton* nextButton() const;

    window::Dialogs& dialogs_;
    Game game_;
    QTimer timer_;
    window::Surface* surface_ = nullptr;
    QPointer<QMenuBar> menus_;
    QHash<QString, QWidget*> controls_;  // by design name, for the current load
    bool ended_ = false;
    bool rebuildPending_ = false;
    QString lastFocused_;  // the control that last had the focus; the menus never count
};

}  // namespace brivana
