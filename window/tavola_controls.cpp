// Building Tavola's controls and menus from the design tables.
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtMath>

#include "window/answer_box.h"
#include "window/caption_label.h"
#include "layout/control_names.h"
#include "layout/control_table.h"
#include "layout/label_geometry.h"
#include "layout/menu_table.h"
#include "window/design_font.h"
#include "window/picture_button.h"
#include "window/png_picture.h"
#include "window/pointers.h"
#include "window/surface.h"
#include "window/tavola.h"

namespace brivana {

namespace {

using namespace window;
using namespace layout;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int Pixels(int twips) { return twips / kTwipsPerPixel; }

QRect Geometry(const ControlSpec& row)
{
    return QRect(Pixels(row.left), Pixels(row.top), Pixels(row.width), Pixels(row.height));
}

QColor Colour(const std::optional<Rgb>& rgb, const QColor& otherwise)
{
    return rgb ? QColor(rgb->red, rgb->green, rgb->blue) : otherwise;
}

// The pictures of a control, with the pressed and disabled ones it has, for showing at
// `shownAt` pixels: every size up to the first that covers that on the sharpest screen. Qt
// takes the nearest size at or above what it draws; a larger one would only take memory.
QIcon Pictures(std::string_view base, int shownAt)
{
    const int needed = qCeil(shownAt * qApp->devicePixelRatio());
    QIcon icon;
    const QString stem = QStringLiteral(":/pictures/") + Text(base);
    const auto add = [&](const QString& suffix, QIcon::Mode mode) {
        for (const int size : {16, 32, 48, 64, 128, 256}) {
            const QString file = stem + suffix + QStringLiteral("-%1.png").arg(size);
            if (QFile::exists(file)) icon.addPixmap(PngPicture(file), mode);
            if (size >= needed) break;
        }
    };
    add(QString(), QIcon::Normal);
    add(QStringLiteral("-pressed"), QIcon::Selected);
    add(QStringLiteral("-disabled"), QIcon::Disabled);
    return icon;
}

QWidget* MakeLabel(const ControlSpec& row, Surface* parent)
{
    auto* label = new CaptionLabel(row.fit, parent);
    // A transparent label stands on the gradient.
    if (!row.back)
        label->setHalo([parent](Rgb text, int top, int rows) { return parent->haloColour(text, top, rows); });
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Colour(row.text, Qt::black));
    if (row.back) {
        palette.setColor(QPalette::Window, Colour(row.back, Qt::black));
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    if (row.frame == Frame::single) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
    }
    label->setAlignment((row.align == Align::centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setFont(DesignFont(row.font));
    label->setGeometry(Geometry(row));
    label->setDesignTooltip(Text(row.tooltip));
    label->setCaption(Text(row.caption));
    return label;
}

QWidget* MakeAnswerBox(const ControlSpec& row, QWidget* parent)
{
    auto* box = new AnswerBox(parent);
    box->setMaxLength(kAnswerMaxLength);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Colour(row.back, Qt::white));
    palette.setColor(QPalette::Text, Colour(row.text, Qt::black));
    box->setPalette(palette);
    box->setFont(DesignFont(row.font));
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    box->setGeometry(Geometry(row));
    box->setText(Text(row.caption));
    return box;
}

QWidget* MakeButton(const ControlSpec& row, QWidget* parent)
{
    QPushButton* button =
        row.kind == Kind::graphicalButton
            ? new PictureButton(Colour(row.back, Qt::lightGray), Pictures(row.picture, PictureButton::kPictureSize), parent)
            : new QPushButton(parent);
    button->setFont(DesignFont(row.font));
    button->setText(Text(row.caption));
    // The caption's "&" marks the access key, which the window's protocol handles with the
    // other keys: the button's own shortcut would take it first.
    button->setShortcut(QKeySequence());
    button->setGeometry(Geometry(row));
    // A button shows the platform's pointer, not the window's own.
    button->setCursor(Qt::ArrowCursor);
    return button;
}

QWidget* MakeImage(const ControlSpec& row, QWidget* parent)
{
    auto* image = new QLabel(parent);
    const QRect geometry = Geometry(row);
    image->setPixmap(Pictures(row.picture, geometry.width()).pixmap(geometry.size()));
    image->setGeometry(geometry);
    return image;
}

}  // namespace

void Tavola::buildControls()
{
    qApp->removeEventFilter(this);  // built now: no need to wait for the name prompt's frame
    auto* surface = new Surface(this);
    surface->setObjectName(QStringLiteral("Tavola"));
    surface->setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));
    surface->setCursor(WindowPointer());

    QHash<QString, QWidget*> controls;
    for (const ControlSpec& row : Controls()) {
        QWidget* widget = nullptr;
        switch (row.kind) {
        case Kind::timer: continue;  // Tavola's own timer, restarted at every load
        case Kind::textBox: widget = MakeAnswerBox(row, surface); break;
        case Kind::graphicalButton:
        case Kind::button: widget = MakeButton(row, surface); break;
        case Kind::label: widget = MakeLabel(row, surface); break;
        case Kind::image: widget = MakeImage(row, surface); break;
        }
        const QString name = Text(row.name);
        widget->setObjectName(name);
        widget->setToolTip(Text(row.tooltip));
        widget->setAccessibleName(Text(row.accessibleName));
        widget->setEnabled(row.enabled == Enabled::yes);
        if (row.shown == Shown::hidden) widget->hide();
        if (row.pointer == Pointer::icon) widget->setCursor(IconPointer());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, name = row.name] { protocol_.click(name); });
        // Its keys go to the protocol first.
        widget->installEventFilter(this);
        controls.insert(name, widget);
    }

    auto* answer = qobject_cast<AnswerBox*>(controls.value(Text(names::kAnswer)));
    answer->setFilters([this](char32_t& typed) { return protocol_.typeCharacter(typed); },
                       [this](char32_t& pasted) { return protocol_.pasteCharacter(pasted); });
    controls.value(Text(kFrontControl))->raise();

    controls_ = std::move(controls);
    surface_ = surface;
    setCentralWidget(surface);  // the previous surface and its controls are deleted later
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    buildMenus();
}

void Tavola::placeClosingBracket()
{
    const QRect box = control(names::kSecondFactor)->geometry();
    const QRect design = Geometry(*FindControl(names::kClosingBracket));
    const layout::Rect bracket =
        ClosingBracketRect(layout::Rect{design.x(), design.y(), design.width(), design.height()},
                           layout::Rect{box.x(), box.y(), box.width(), box.height()});
    control(names::kClosingBracket)->move(bracket.left, bracket.top);
}

void Tavola::closeMenus()
{
    if (!menus_) return;
    for (QMenu* open : menus_->findChildren<QMenu*>())
        if (open->isVisible()) open->close();
}

void Tavola::buildMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    QHash<QString, QMenu*> menus;
    for (const MenuSpec& item : MenuItems()) {
        const QString name = Text(item.name);
        if (item.menu.empty()) {
            QMenu* menu = bar->addMenu(Text(item.caption));
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            menus.insert(name, menu);
            continue;
        }
        QAction* entry = menus.value(Text(item.menu))->addAction(Text(item.caption));
        entry->setObjectName(name);
        connect(entry, &QAction::triggered, this, [this, name = item.name] { protocol_.menuEntryChosen(name); });
    }
    // A menu's click runs before its drop-down is shown; once the drop-down closes, the
    // focus goes back as the protocol says.
    for (QMenu* menu : menus) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { protocol_.menuOpened(menu->objectName().toStdString()); });
        connect(menu, &QMenu::aboutToHide, this, [this] {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    // A question asked from the menu may have left no window active.
                    if (isVisible() && !hasEnded()) activateWindow();
                    protocol_.regainFocus();
                },
                Qt::QueuedConnection);
        });
    }
    menus_ = bar;
    setMenuBar(bar);  // the previous menu bar is deleted later
}

}  // namespace brivana
