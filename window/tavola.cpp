#include "window/tavola.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QThread>

#include "window/answer_box.h"
#include "window/caption_label.h"
#include "window/png_picture.h"
#include "layout/control_table.h"
#include "layout/menu_table.h"
#include "window/surface.h"
#include "window/version.h"

// The pictures are compiled into this static library; nothing else would pull them in.
static void LoadPictures() { Q_INIT_RESOURCE(pictures); }

namespace brivana {

namespace {

const QString kApplicationTitle = QStringLiteral("Brivana");
const QString kLoadCaption = QStringLiteral(" Giochiamo con il prodotto di numeri relativi");

}  // namespace

Tavola::Tavola(Services services, window::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), game_(*this, services), timer_(this)
{
    LoadPictures();
    timer_.setObjectName(QStringLiteral("Timer1"));
    connect(&timer_, &QTimer::timeout, this, [this] { game_.Timer1_Timer(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && control(now->objectName()) == now) lastFocused_ = now->objectName();
    });
    // The menus have no access keys: F10 opens the first one, and the arrows go on from there.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (menus_ && !menus_->actions().isEmpty()) menus_->setActiveAction(menus_->actions().first());
    });
    // No 256-pixel size: on X11 every window, each dialog included, sends all the sizes to the
    // window manager, and that one alone made the program's memory peak 0.7 MB higher.
    QIcon icon;
    for (const char* size : {"48", "64", "128"})
        icon.addPixmap(window::PngPicture(QStringLiteral(":/pictures/brivana-%1.png").arg(QLatin1String(size))));
    setWindowIcon(icon);
}

Tavola::~Tavola() = default;

void Tavola::start()
{
    // The name prompt comes before anything else the game shows: the controls are built once
    // its first frame is out, while the pupil types (at the latest when the prompt closes).
    if (!surface_) qApp->installEventFilter(this);
    loadAndShow();
}

bool Tavola::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched != this && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        qApp->removeEventFilter(this);
        // Queued: the frame reaches the screen once this paint has returned.
        QMetaObject::invokeMethod(this, [this] { if (!surface_) buildControls(); }, Qt::QueuedConnection);
    }
    return false;
}

void Tavola::loadAndShow()
{
    setWindowTitle(kLoadCaption);
    timer_.setInterval(layout::kTimerIntervalMs);
    timer_.start();
    game_.Form_Load();
    if (ended_) return;
    show();
    if (ended_) return;
    game_.Form_Activate();
    if (ended_) return;
    emit loaded();
}

void Tavola::reload()
{
    // This runs inside the menu's own signal and after a dialog's nested loop: the controls
    // on the stack must outlive it, so the rebuild waits for the event loop.
    if (rebuildPending_) return;
    rebuildPending_ = true;
    QMetaObject::invokeMethod(this, &Tavola::rebuild, Qt::QueuedConnection);
}

void Tavola::rebuild()
{
    // A nested loop (a dialog's) would run the rebuild under a handler of the old controls.
    if (thread()->loopLevel() > 1) {
        QTimer::singleShot(layout::kTimerIntervalMs / 10, this, &Tavola::rebuild);
        return;
    }
    rebuildPending_ = false;
    if (ended_) return;
    hide();
    timer_.stop();
    buildControls();
    loadAndShow();
}

void Tavola::copy_Click(std::int16_t)
{
    messageBox("Brivana " + std::string(kVersion) + "\n" + std::string(layout::CreditsText()), MsgStyle::ok);
}

QWidget* Tavola::control(const QString& name) const { return controls_.value(name); }

window::CaptionLabel* Tavola::label(Field field) const
{
    return qobject_cast<window::CaptionLabel*>(control(QString::fromUtf8(fieldName(field))));
}

window::AnswerBox* Tavola::answerBox() const
{
    return qobject_cast<window::AnswerBox*>(control(QStringLiteral("txtAnswer")));
}

QAbstractButton* Tavola::nextButton() const
{
    return qobject_cast<QAbstractButton*>(control(QStringLiteral("cmdNext")));
}

std::string Tavola::text(Field field) const
{
    if (field == Field::txtAnswer) return answerBox()->text().toStdString();
    return label(field)->caption().toStdString();
}

void Tavola::setText(Field field, const std::string& text)
{
    const QString value = QString::fromStdString(text);
    if (field == Field::txtAnswer)
        answerBox()->setText(value);
    else
        label(field)->setCaption(value);
    if (field == Field::lblNum2) placeClosingBracket();
}

void Tavola::setNextEnabled(bool enabled) { nextButton()->setEnabled(enabled); }

void Tavola::focusNext() { nextButton()->setFocus(Qt::OtherFocusReason); }

void Tavola::focusAnswer() { answerBox()->setFocus(Qt::OtherFocusReason); }

void Tavola::setTimerEnabled(bool enabled)
{
    if (!enabled)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

MsgAnswer Tavola::messageBox(const std::string& text, int style, const std::string& title)
{
    return dialogs_.messageBox(this, QString::fromStdString(text), style,
                               title.empty() ? kApplicationTitle : QString::fromStdString(title));
}

std::string Tavola::inputBox(const std::string& prompt, const std::string& title)
{
    const QString name = dialogs_.inputBox(this, QString::fromStdString(prompt), QString::fromStdString(title));
    if (!surface_) {
        qApp->removeEventFilter(this);
        buildControls();
    }
    return name.toStdString();
}

void Tavola::paintBackground(std::int16_t p, std::int16_t q) { surface_->setGradient(p, q); }

void Tavola::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void Tavola::endProgram()
{
    ended_ = true;
    timer_.stop();
    hide();
    emit ended();
}

void Tavola::closeEvent(QCloseEvent* event)
{
    // Closing the window ends the game as the Exit button does: farewell and record.
    if (!ended_) game_.cmdExit_Click();
    event->setAccepted(ended_);
}

void Tavola::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible()) game_.Form_Resize(isMinimized());
}

void Tavola::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible()) game_.Form_Resize(isMinimized());
}

void Tavola::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    game_.Form_Resize(isMinimized());
}

void Tavola::keyPressEvent(QKeyEvent* event)
{
    // cmdNext is the default button: Enter clicks it wherever the focus is, unless a button
    // has the focus and takes the Enter itself.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && nextButton()->isEnabled()) {
        event->accept();
        nextButton()->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace brivana
