#include "window/tavola.h"

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
#include <optional>

#include "layout/control_names.h"
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
        if (const std::string name = nameOf(now); !name.empty()) protocol_.focusSeen(name);
    });
    // The menus have no access keys: F10 opens the first one, and the arrows go on from there.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (menus_ && !menus_->actions().isEmpty()) menus_->setActiveAction(menus_->actions().first());
    });
    announcer_ = new window::Announcer(this);
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

namespace {

// A key in the protocol's terms; nothing for a key the focused control keeps for itself.
std::optional<keys::Press> ProtocolKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
    const bool control = held & Qt::ControlModifier;
    const bool alt = held & Qt::AltModifier;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (alt) break;
        return keys::Press{control ? keys::Key::ctrlEnter : keys::Key::enter};
    case Qt::Key_Backspace:
        if (held == Qt::ControlModifier) return keys::Press{keys::Key::ctrlBackspace};
        break;
    case Qt::Key_Escape:
        if (held == Qt::NoModifier) return keys::Press{keys::Key::escape};
        break;
    case Qt::Key_F2:
        if (held == Qt::NoModifier) return keys::Press{keys::Key::f2};
        break;
    case Qt::Key_Tab:
        if (held == Qt::NoModifier) return keys::Press{keys::Key::tab};
        if (held == Qt::ShiftModifier) return keys::Press{keys::Key::shiftTab};
        break;
    case Qt::Key_Backtab:
        if (!control && !alt) return keys::Press{keys::Key::shiftTab};
        break;
    default:
        if (held == Qt::AltModifier && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
            return keys::Press{keys::Key::alt, static_cast<char32_t>(event.key())};
        break;
    }
    return std::nullopt;
}

}  // namespace

std::string Tavola::nameOf(const QWidget* widget) const
{
    if (!widget || controls_.value(widget->objectName()) != widget) return {};
    return widget->objectName().toStdString();
}

bool Tavola::handKey(const QKeyEvent& key, const QWidget* focused)
{
    const std::optional<keys::Press> press = ProtocolKey(key);
    return press && protocol_.pressKey(*press, nameOf(focused));
}

bool Tavola::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        !nameOf(static_cast<QWidget*>(watched)).empty())
        return handKey(*static_cast<QKeyEvent*>(event), static_cast<QWidget*>(watched));
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
    raise();
    activateWindow();
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

std::string Tavola::text(Field field) const
{
    if (field == Field::txtAnswer) return qobject_cast<window::AnswerBox*>(control(layout::names::kAnswer))->text().toStdString();
    return label(field)->caption().toStdString();
}

void Tavola::setText(Field field, const std::string& text)
{
    const QString value = QString::fromStdString(text);
    if (field == Field::txtAnswer)
        qobject_cast<window::AnswerBox*>(control(layout::names::kAnswer))->setText(value);
    else
        label(field)->setCaption(value);
    if (fieldName(field) == layout::names::kSecondFactor) placeClosingBracket();
}

void Tavola::enableControl(std::string_view name, bool enabled) { control(name)->setEnabled(enabled); }

void Tavola::focusControl(std::string_view name) { control(name)->setFocus(Qt::OtherFocusReason); }

void Tavola::eraseAnswerBeforeCaret()
{
    auto* box = qobject_cast<window::AnswerBox*>(control(layout::names::kAnswer));
    const int caret = box->cursorPosition();
    if (caret == 0) return;
    box->setSelection(caret, -caret);
    box->del();
}

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
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) protocol_.regainFocus();
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
    // A key no control took, or pressed while none of them has the focus.
    const QWidget* focused = focusWidget();
    if (handKey(*event, nameOf(focused).empty() ? nullptr : focused)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace brivana
