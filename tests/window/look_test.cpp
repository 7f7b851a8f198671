// How the window looks: the painted gradient, the boxes, fonts, layout rules, pointers,
// pictures, menus and the names a screen reader reads.
#include <QAccessible>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include "test_game.h"
#include "test_main.h"
#include "layout/control_table.h"
#include "window/picture_button.h"

using brivana::Field;
using brivana::test::TestGame;

namespace {

constexpr int kFreeColumn = 790;  // no control covers this column of the client area
const QColor kCyan(0, 255, 255);

QImage ClientArea(const TestGame& game) { return game.tavola->centralWidget()->grab().toImage(); }

QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

QRect Rect(const TestGame& game, const char* name) { return game.control(QString::fromLatin1(name))->geometry(); }

}  // namespace

class Look : public QObject {
    Q_OBJECT

private slots:
    void theGradientRunsFromBlueZeroAtTheTopToBlue255AtTheBottom_data();
    void theGradientRunsFromBlueZeroAtTheTopToBlue255AtTheBottom();
    void theFactorsAndTheAnswerSitInCyanBoxes();
    void theHiddenControlsLeaveTheGradientUntouched();
    void eachControlGetsItsFaceOrItsMetricTwinAtNinetySixDpi();
    void labelsThatFitTheirTextGrowFromTheirTopLeftCorner();
    void recordTextsShowTheirLinesWithoutAStrayCarriageReturn();
    void theOtherLabelsKeepTheirRectangleAndWrap();
    void tabSkipsTheDisabledNextButton();
    void thePointersAreTheWindowsOwnAndTheIconPointer();
    void theNextButtonHasThreeDifferentPictures();
    void theMenuBarShowsThreeMenusOfOneEntryWithoutAccessKeys();
    void screenReadersHearAnItalianNameForEveryControlThatShowsSomething();
};

void Look::theGradientRunsFromBlueZeroAtTheTopToBlue255AtTheBottom_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("q");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::newRow("factors of size 1 and 1") << -1 << -1 << 20 << 20;
    QTest::newRow("factors of size 11 and 20") << -11 << -20 << 220 << 255;
}

void Look::theGradientRunsFromBlueZeroAtTheTopToBlue255AtTheBottom()
{
    QFETCH(int, p);
    QFETCH(int, q);
    QFETCH(int, red);
    QFETCH(int, green);
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(p, q, 0);
    game.start(QStringLiteral("Mario"));

    const QImage image = ClientArea(game);
    QCOMPARE(image.size(), QSize(792, 554));
    QCOMPARE(At(image, kFreeColumn, 0), QColor(red, green, 0));
    QCOMPARE(At(image, kFreeColumn, 277), QColor(red, green, 128));
    QCOMPARE(At(image, kFreeColumn, 553), QColor(red, green, 255));

    // 256 bands, each a little over two rows high, filling the height in order.
    QSet<int> blues;
    int previous = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QColor colour = At(image, kFreeColumn, y);
        QCOMPARE(colour.red(), red);
        QCOMPARE(colour.green(), green);
        QVERIFY(colour.blue() >= previous);
        previous = colour.blue();
        blues.insert(colour.blue());
    }
    QCOMPARE(blues.size(), 256);
    // The bands reach the right edge of the client area.
    QCOMPARE(At(image, 791, 300), At(image, kFreeColumn, 300));
}

void Look::theFactorsAndTheAnswerSitInCyanBoxes()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-7, -13, 1);
    game.start(QStringLiteral("Mario"));

    const QImage image = ClientArea(game);
    for (const char* name : {"lblNum1", "lblNum2"}) {
        const QRect box = Rect(game, name);
        QCOMPARE(At(image, box.left() + 3, box.top() + 3), kCyan);
        QCOMPARE(At(image, box.right() - 3, box.bottom() - 3), kCyan);
    }
    const QRect answer = Rect(game, "txtAnswer");
    QCOMPARE(At(image, answer.right() - 10, answer.center().y()), kCyan);
    QCOMPARE(At(image, answer.center().x(), answer.bottom() - 8), kCyan);
}

void Look::theHiddenControlsLeaveTheGradientUntouched()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-5, -5, 0);
    game.start(QStringLiteral("Mario"));
    game.tavola->setText(Field::lblnum5, "88");

    // Where the brackets and the third number lie, one upon another, under the answer box
    // (down to the heading "Risposte totali").
    const QImage image = ClientArea(game);
    for (int y = 96; y < 224; ++y)
        for (int x = 648; x <= 681; ++x)
            if (At(image, x, y) != At(image, kFreeColumn, y))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is not background").arg(x).arg(y)));
    for (const char* name : {"Label9", "Label10", "lblnum5"}) QVERIFY(!game.control(name)->isVisible());
}

void Look::eachControlGetsItsFaceOrItsMetricTwinAtNinetySixDpi()
{
    using brivana::layout::Face;
    TestGame game;
    game.start(QStringLiteral("Mario"));
    int checked = 0;
    for (const auto& row : brivana::layout::Controls()) {
        if (row.font.face == Face::none) continue;
        const QString name = QString::fromUtf8(row.name.data(), row.name.size());
        const QFontInfo info(game.control(name)->font());
        const QString expected =
            row.font.face == Face::timesNewRoman ? QStringLiteral("Liberation Serif") : QStringLiteral("Liberation Sans");
        QVERIFY2(info.family() == expected, qPrintable(name + QStringLiteral(" got ") + info.family()));
        QVERIFY2(info.pixelSize() == qRound(row.font.points * 96 / 72), qPrintable(name));
        QCOMPARE(info.bold(), row.font.weight == brivana::layout::Weight::bold);
        QCOMPARE(info.italic(), row.font.slant == brivana::layout::Slant::italic);
        ++checked;
    }
    QCOMPARE(checked, 29);
    // 48 points on the factors, 36 on the tallies.
    QCOMPARE(QFontInfo(game.control("lblNum1")->font()).pixelSize(), 64);
    QCOMPARE(QFontInfo(game.control("lblScore")->font()).pixelSize(), 48);
}

void Look::labelsThatFitTheirTextGrowFromTheirTopLeftCorner()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    game.tavola->setText(Field::lblNum1, "5");
    const QRect narrow = Rect(game, "lblNum1");
    game.tavola->setText(Field::lblNum1, "-11");
    const QRect wide = Rect(game, "lblNum1");

    QCOMPARE(wide.topLeft(), QPoint(88, 16));
    QCOMPARE(narrow.topLeft(), wide.topLeft());
    QVERIFY(wide.width() > narrow.width());
    QCOMPARE(wide.height(), narrow.height());

    const QString longName = QStringLiteral("Maria Margherita Annunziata De Gasperis Brambilla");
    game.tavola->setText(Field::lblnome1, longName.toStdString());
    QCOMPARE(game.control<QLabel>("lblnome1")->text(), longName);
    // No wrapping, no shortening.
    QVERIFY(Rect(game, "lblnome1").width() >= game.control("lblnome1")->fontMetrics().horizontalAdvance(longName));
    QCOMPARE(Rect(game, "lblnome1").topLeft(), QPoint(24, 464));
}

void Look::recordTextsShowTheirLinesWithoutAStrayCarriageReturn()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    game.tavola->setText(Field::lblnome, "Anna");
    const int oneLine = Rect(game, "lblnome").height();
    game.tavola->setText(Field::lblnome, "Anna\r\nBea\r\nCarla");

    QCOMPARE(game.tavola->text(Field::lblnome), std::string("Anna\r\nBea\r\nCarla"));
    QVERIFY(!game.control<QLabel>("lblnome")->text().contains(QLatin1Char('\r')));
    QVERIFY(Rect(game, "lblnome").height() > 2 * oneLine);
}

void Look::theOtherLabelsKeepTheirRectangleAndWrap()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    const QRect before = Rect(game, "lblMessage");
    game.tavola->setText(Field::lblMessage, "Sbagliato!! -220 e ancora un testo molto lungo");
    QCOMPARE(Rect(game, "lblMessage"), before);
    QCOMPARE(before, QRect(176, 136, 633, 41));
    QVERIFY(game.control<QLabel>("lblMessage")->wordWrap());
}

void Look::tabSkipsTheDisabledNextButton()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-2, -2, 0);
    game.start(QStringLiteral("Mario"));
    QVERIFY(QTest::qWaitForWindowActive(game.tavola.get()));
    const auto focusAfterTab = [&] {
        QTest::keyClick(game.tavola->focusWidget(), Qt::Key_Tab);
        return game.tavola->focusWidget()->objectName();
    };

    game.control("cmdExit")->setFocus();
    QCOMPARE(focusAfterTab(), QStringLiteral("txtAnswer"));
    QCOMPARE(focusAfterTab(), QStringLiteral("Command1"));
    QCOMPARE(focusAfterTab(), QStringLiteral("cmdExit"));

    game.answer(QStringLiteral("4"));
    game.control("cmdExit")->setFocus();
    QCOMPARE(focusAfterTab(), QStringLiteral("cmdNext"));
    QCOMPARE(focusAfterTab(), QStringLiteral("txtAnswer"));
}

void Look::thePointersAreTheWindowsOwnAndTheIconPointer()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    const QCursor own = game.tavola->centralWidget()->cursor();
    QCOMPARE(own.shape(), Qt::BitmapCursor);
    QCOMPARE(own.hotSpot(), QPoint(5, 0));
    QCOMPARE(own.pixmap().size(), QSize(32, 32));
    // Labels show the window's own pointer; buttons the platform's.
    QCOMPARE(game.control("Label6")->cursor().hotSpot(), QPoint(5, 0));
    QCOMPARE(game.control("cmdExit")->cursor().shape(), Qt::ArrowCursor);
    for (const char* name : {"cmdNext", "lblMessage"}) {
        const QCursor icon = game.control(name)->cursor();
        QCOMPARE(icon.shape(), Qt::BitmapCursor);
        QVERIFY(icon.hotSpot() != own.hotSpot());
    }
}

void Look::theNextButtonHasThreeDifferentPictures()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    using brivana::window::PictureButton;
    auto* next = game.control<PictureButton>("cmdNext");
    const QImage face = next->picture(QIcon::Normal).toImage();
    const QImage pressed = next->picture(QIcon::Selected).toImage();
    const QImage disabled = next->picture(QIcon::Disabled).toImage();
    QCOMPARE(face.size(), QSize(32, 32));
    QVERIFY(face != pressed);
    QVERIFY(face != disabled);
    QVERIFY(pressed != disabled);
    QCOMPARE(game.control<PictureButton>("cmdExit")->picture(QIcon::Normal).size(), QSize(32, 32));
    QCOMPARE(game.control<QLabel>("Image1")->pixmap().size(), QSize(32, 32));
    QVERIFY(game.tavola->windowIcon().availableSizes().contains(QSize(48, 48)));
}

void Look::theMenuBarShowsThreeMenusOfOneEntryWithoutAccessKeys()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    const QList<QAction*> menus = game.tavola->menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus.at(0)->objectName(), QStringLiteral("INFOMAZIONI"));
    QCOMPARE(menus.at(1)->objectName(), QStringLiteral("Ciao"));
    QCOMPARE(menus.at(2)->text(), QStringLiteral("NUOVO GIOCO"));
    for (QAction* menu : menus) {
        QVERIFY(!menu->text().contains(QLatin1Char('&')));
        QCOMPARE(menu->menu()->actions().size(), 1);
        QVERIFY(!menu->menu()->actions().first()->text().contains(QLatin1Char('&')));
    }
    QVERIFY(menus.at(0)->text().endsWith(QLatin1Char(' ')));
    const QString contact = menus.at(2)->menu()->actions().first()->text();
    QVERIFY(contact.startsWith(QStringLiteral("Per contattare gli autori:")));
    QVERIFY(contact.endsWith(QStringLiteral("@example.org")));
}

void Look::screenReadersHearAnItalianNameForEveryControlThatShowsSomething()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.start(QStringLiteral("Mario"));
    const auto nameOf = [&](const QString& control) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(game.control(control));
        return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("<none>");
    };
    QCOMPARE(nameOf("lblNum1"), QStringLiteral("Primo fattore"));
    QCOMPARE(nameOf("lblNum2"), QStringLiteral("Secondo fattore"));
    QCOMPARE(nameOf("txtAnswer"), QStringLiteral("Risposta"));
    QCOMPARE(nameOf("lblconto"), QStringLiteral("Tempo restante"));
    QCOMPARE(nameOf("lblScore"), QStringLiteral("Punteggio"));

    QSet<QString> names;
    for (const auto& row : brivana::layout::Controls()) {
        const QString control = QString::fromUtf8(row.name.data(), row.name.size());
        QWidget* widget = game.control(control);
        if (!widget || !widget->isVisible() || control == QLatin1String("lblTime")) continue;
        const QString name = nameOf(control);
        QVERIFY2(!name.isEmpty(), qPrintable(control));
        names.insert(name);
    }
    QCOMPARE(names.size(), 26);  // no two controls share a name
    // What a field shows is read along with its name.
    QCOMPARE(QAccessible::queryAccessibleInterface(game.control("lblconto"))->text(QAccessible::Description),
             QStringLiteral("00:15:00"));
    game.tavola->setText(Field::lblNum1, "-7");
    QCOMPARE(QAccessible::queryAccessibleInterface(game.control("lblNum1"))->text(QAccessible::Description),
             QStringLiteral("-7"));
    QAccessibleInterface* answer = QAccessible::queryAccessibleInterface(game.control("txtAnswer"));
    QTest::keyClicks(game.control("txtAnswer"), QStringLiteral("-12"));
    QCOMPARE(answer->text(QAccessible::Value), QStringLiteral("-12"));
}

BRIVANA_WINDOW_TEST_MAIN(Look)
#include "look_test.moc"
