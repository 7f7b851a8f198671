#include "window/tavola.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QWindow>

#include "layout/control_table.h"
#include "layout/window_place.h"
#include "window/announcer.h"
#include "window/answer_box.h"
#include "window/caption_label.h"
#include "window/png_picture.h"
#include "window/surface.h"

// The pictures are compiled into this static library; nothing else would pull them in.
static void LoadPictures() { Q_INIT_RESOURCE(pictures); }

namespace brivana {

Tavola::Tavola(Services services, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), protocol_(*this, dialogs, services), timer_(this)
{
    LoadPictures();
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(layout::kTimerIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { protocol_.game().Timer1_Timer(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && controls_.value(now->objectName()) == now) lastFocused_ = now->objectName();
    });
    // The menus have no access keys: F10 opens the first one, and the arrows go on from there.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (menus_ && !menus_->actions().isEmpty()) menus_->setActiveAction(menus_->actions().first());
    });
    announcer_ = new window::Announcer(this);
    // F2 has a screen reader say the time left, wherever the focus is.
    auto* timeKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(timeKey, &QShortcut::activated, this, [this] { protocol_.sayTimeLeft(); });
    // No 256-pixel size: on X11 every window, each dialog included, sends all the sizes to the
    // window manager, and that one alone made the program's memory peak 0.7 MB higher.
    QIcon icon;
    for (const char* size : {"48", "64", "128"})
        icon.addPixmap(window::PngPicture(QStringLiteral(":/pictures/brivana-%1.png").arg(QLatin1String(size))));
    setWindowIcon(icon);
    // The name prompt comes before anything else the game shows: the controls are built once
    // its first frame is out, while the pupil types (at the latest when the prompt closes).
    qApp->installEventFilter(this);
}

Tavola::~Tavola()
{
    // The controls call the protocol (the answer box checks its text when it loses the
    // focus): they go while it is still there, not with the window after it.
    delete takeCentralWidget();
}

bool Tavola::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        // Framed by now: with the frame's true size the window may have to move inside.
        watched->removeEventFilter(this);
        placeAtStart();
        return false;
    }
    if (event->type() == QEvent::Paint && watched != this && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        qApp->removeEventFilter(this);
        // Queued: the frame reaches the screen once this paint has returned.
        QMetaObject::invokeMethod(this, [this] { protocol_.promptOnScreen(); }, Qt::QueuedConnection);
    }
    return false;
}

void Tavola::showWindow()
{
    if (!placed_) {
        placed_ = true;
        // On X11 the frame comes from the window manager once the window is on the screen:
        // placed now with the frame known so far, and once more when it is framed.
        layout()->activate();
        winId();
        placeAtStart();
        windowHandle()->installEventFilter(this);
    }
    show();
}

void Tavola::placeAtStart()
{
    const auto rect = [](const QRect& r) { return layout::Rect{r.x(), r.y(), r.width(), r.height()}; };
    // The client area is the surface, as on Windows, where the menu bar belongs to the frame.
    const QPoint client = geometry().topLeft() + surface_->pos();
    const QRect frame = frameGeometry().translated(-client);
    const layout::Point offset{layout::kClientLeftTwips / layout::kTwipsPerPixel,
                               layout::kClientTopTwips / layout::kTwipsPerPixel};
    const layout::Point at =
        layout::StartPosition(rect(screen()->geometry()), rect(screen()->availableGeometry()), offset, rect(frame));
    move(at.x, at.y);
}

void Tavola::setTimerRunning(bool running)
{
    if (!running)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

bool Tavola::nestedLoopRunning() const { return thread()->loopLevel() > 1; }

QWidget* Tavola::control(std::string_view name) const
{
    return controls_.value(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

window::CaptionLabel* Tavola::label(Field field) const
{
    return qobject_cast<window::CaptionLabel*>(control(fieldName(field)));
}

QAbstractButton* Tavola::nextButton() const { return qobject_cast<QAbstractButton*>(control("cmdNext")); }

std::string Tavola::text(Field field) const
{
    if (field == Field::txtAnswer) return qobject_cast<window::AnswerBox*>(control("txtAnswer"))->text().toStdString();
    return label(field)->caption().toStdString();
}

void Tavola::setText(Field field, const std::string& text)
{
    const QString value = QString::fromStdString(text);
    if (field == Field::txtAnswer)
        qobject_cast<window::AnswerBox*>(control("txtAnswer"))->setText(value);
    else
        label(field)->setCaption(value);
    if (field == Field::lblNum2) placeClosingBracket();
}

void Tavola::enableControl(std::string_view name, bool enabled) { control(name)->setEnabled(enabled); }

void Tavola::focusControl(std::string_view name) { control(name)->setFocus(Qt::OtherFocusReason); }

void Tavola::setSpokenText(std::string_view name, const std::string& text)
{
    // A label is read by its name; a control that takes the focus says its name, then this.
    QWidget* widget = control(name);
    if (qobject_cast<window::CaptionLabel*>(widget))
        widget->setAccessibleName(QString::fromStdString(text));
    else
        widget->setAccessibleDescription(QString::fromStdString(text));
}

void Tavola::announce(const std::string& words) { announcer_->say(QString::fromStdString(words)); }

bool Tavola::canFocus(std::string_view name) const
{
    const QWidget* widget = control(name);
    return widget && widget->isVisible() && widget->isEnabled();
}

bool Tavola::focusNextPrevChild(bool next)
{
    const QWidget* focused = focusWidget();
    const bool ours = focused && controls_.value(focused->objectName()) == focused;
    protocol_.tab(ours ? focused->objectName().toStdString() : std::string(), next ? 1 : -1);
    return true;
}

void Tavola::paintBackground(std::int16_t p, std::int16_t q) { surface_->setGradient(p, q); }

void Tavola::closeEvent(QCloseEvent* event)
{
    // Closing the window ends the game as the Exit button does: farewell and record.
    if (!hasEnded()) protocol_.game().Form_Unload();
    event->setAccepted(hasEnded());
}

void Tavola::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible()) protocol_.game().Form_Resize(isMinimized());
}

void Tavola::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible()) protocol_.game().Form_Resize(isMinimized());
}

void Tavola::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    protocol_.game().Form_Resize(isMinimized());
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
