// Building Tavola's controls and menus from the design tables.
#include <QFile>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "window/answer_box.h"
#include "window/caption_label.h"
#include "window/control_table.h"
#include "window/design_font.h"
#include "window/menu_table.h"
#include "window/picture_button.h"
#include "window/pointers.h"
#include "window/surface.h"
#include "window/tavola.h"

namespace brivana {

namespace {

using namespace window;

constexpr int kMaxAnswerLength = 4;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int Pixels(int twips) { return twips / kTwipsPerPixel; }

QRect Geometry(const ControlSpec& spec)
{
    return QRect(Pixels(spec.left), Pixels(spec.top), Pixels(spec.width), Pixels(spec.height));
}

QColor Colour(const std::optional<Rgb>& rgb, const QColor& otherwise)
{
    return rgb ? QColor(rgb->red, rgb->green, rgb->blue) : otherwise;
}

// The 32 x 32 and 16 x 16 pictures of a control, with the pressed and disabled ones it has.
QIcon Pictures(std::string_view base)
{
    QIcon icon;
    const QString stem = QStringLiteral(":/pictures/") + Text(base);
    const auto add = [&](const QString& suffix, QIcon::Mode mode) {
        for (const char* size : {"-32.png", "-16.png"}) {
            const QString file = stem + suffix + QLatin1String(size);
            if (QFile::exists(file)) icon.addFile(file, QSize(), mode);
        }
    };
    add(QString(), QIcon::Normal);
    add(QStringLiteral("-pressed"), QIcon::Selected);
    add(QStringLiteral("-disabled"), QIcon::Disabled);
    return icon;
}

QWidget* MakeLabel(const ControlSpec& spec, QWidget* parent)
{
    auto* label = new CaptionLabel(spec.fit, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Colour(spec.text, Qt::black));
    if (spec.back) {
        palette.setColor(QPalette::Window, Colour(spec.back, Qt::black));
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    if (spec.frame == Frame::single) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
    }
    label->setAlignment((spec.align == Align::centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setFont(DesignFont(spec.font));
    label->setGeometry(Geometry(spec));
    label->setCaption(Text(spec.caption));
    return label;
}

QWidget* MakeAnswerBox(const ControlSpec& spec, QWidget* parent)
{
    auto* box = new AnswerBox(parent);
    box->setMaxLength(kMaxAnswerLength);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Colour(spec.back, Qt::white));
    palette.setColor(QPalette::Text, Colour(spec.text, Qt::black));
    box->setPalette(palette);
    box->setFont(DesignFont(spec.font));
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    box->setGeometry(Geometry(spec));
    box->setText(Text(spec.caption));
    return box;
}

QWidget* MakeButton(const ControlSpec& spec, QWidget* parent)
{
    QPushButton* button = spec.kind == Kind::graphicalButton
                              ? new PictureButton(Colour(spec.back, Qt::lightGray), Pictures(spec.picture), parent)
                              : new QPushButton(parent);
    // Enter on a focused button clicks it.
    button->setAutoDefault(true);
    button->setFont(DesignFont(spec.font));
    button->setText(Text(spec.caption));
    button->setGeometry(Geometry(spec));
    // A button shows the platform's pointer, not the window's own.
    button->setCursor(Qt::ArrowCursor);
    return button;
}

QWidget* MakeImage(const ControlSpec& spec, QWidget* parent)
{
    auto* image = new QLabel(parent);
    const QRect geometry = Geometry(spec);
    image->setPixmap(Pictures(spec.picture).pixmap(geometry.size()));
    image->setGeometry(geometry);
    return image;
}

}  // namespace

void Tavola::buildControls()
{
    auto* surface = new Surface(this);
    surface->setObjectName(QStringLiteral("Tavola"));
    surface->setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));
    surface->setCursor(WindowPointer());

    QHash<QString, QWidget*> controls;
    for (const ControlSpec& spec : Controls()) {
        QWidget* widget = nullptr;
        switch (spec.kind) {
        case Kind::timer: continue;  // Tavola's own timer, restarted at every load
        case Kind::textBox: widget = MakeAnswerBox(spec, surface); break;
        case Kind::graphicalButton:
        case Kind::button: widget = MakeButton(spec, surface); break;
        case Kind::label: widget = MakeLabel(spec, surface); break;
        case Kind::image: widget = MakeImage(spec, surface); break;
        }
        const QString name = Text(spec.name);
        widget->setObjectName(name);
        widget->setToolTip(Text(spec.tooltip));
        widget->setAccessibleName(Text(spec.accessibleName));
        widget->setEnabled(spec.enabled == Enabled::yes);
        if (spec.shown == Shown::hidden) widget->hide();
        if (spec.pointer == Pointer::icon) widget->setCursor(IconPointer());
        controls.insert(name, widget);
    }

    // Every control exists now: bind what refers to others.
    auto* next = qobject_cast<QPushButton*>(controls.value(QStringLiteral("cmdNext")));
    auto* exit = qobject_cast<QPushButton*>(controls.value(QStringLiteral("cmdExit")));
    auto* answer = qobject_cast<AnswerBox*>(controls.value(QStringLiteral("txtAnswer")));
    QWidget* command1 = controls.value(QStringLiteral("Command1"));
    connect(next, &QPushButton::clicked, this, [this] { game_.cmdNext_Click(); });
    connect(exit, &QPushButton::clicked, this, [this] { game_.cmdExit_Click(); });
    answer->setKeyFilter([this](std::int16_t& key) { game_.txtAnswer_KeyPress(key); });
    answer->setDefaultButton(next);
    setTabOrder(exit, next);
    setTabOrder(next, answer);
    setTabOrder(answer, command1);
    // Command1 lies wholly inside cmdNext: the button that works stays in front.
    next->raise();

    controls_ = std::move(controls);
    surface_ = surface;
    setCentralWidget(surface);  // the previous surface and its controls are deleted later
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    QIcon icon;
    for (const char* size : {"48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/pictures/brivana-%1.png").arg(QLatin1String(size)));
    setWindowIcon(icon);
    buildMenus();
    // The first control in tab order has the focus when the window is shown.
    exit->setFocus(Qt::OtherFocusReason);
}

void Tavola::buildMenus()
{
    if (menus_) {
        for (QMenu* open : menus_->findChildren<QMenu*>()) open->close();
    }
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
        if (name == QLatin1String("copy"))
            connect(entry, &QAction::triggered, this, [this, index = item.index] { copy_Click(index); });
    }
    // The menu's click: it runs before its drop-down is shown.
    connect(menus.value(QStringLiteral("Next")), &QMenu::aboutToShow, this, [this] { game_.Next_Click(); });
    menus_ = bar;
    setMenuBar(bar);  // the previous menu bar is deleted later
}

}  // namespace brivana
