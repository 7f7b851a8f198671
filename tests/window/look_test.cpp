// How the window looks: the painted gradient, the boxes, fonts, layout rules, pointers,
// pictures, menus and the names a screen reader reads.
#include <QAccessible>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include "test_game.h"
#include "test_main.h"
#include "layout/contrast.h"
#include "layout/control_table.h"
#include "window/picture_button.h"

using brivana::Field;
using brivana::MsgAnswer;
using brivana::test::TestGame;

namespace {

constexpr int kFreeColumn = 790;  // no control covers this column of the client area
const QColor kCyan(0, 255, 255);

QImage ClientArea(const TestGame& game) { return game.screen(); }

QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

double Contrast(const QColor& a, const QColor& b)
{
    return brivana::layout::ContrastRatio({a.red(), a.green(), a.blue()}, {b.red(), b.green(), b.blue()});
}

QRect Rect(const TestGame& game, const char* name) { return game.control(QString::fromLatin1(name))->geometry(); }

}  // namespace

class Look : public QObject {
    Q_OBJECT

private slots:
    void theGradientRunsFromBlueZeroAtTheTopToBlue255AtTheBottom_data();
    void theGradientRunsFromBlueZeroAtTheTopToBlue255AtTheBottom();
    void theFactorsAndTheAnswerSitInCyanBoxes();
    void aNewQuestionRepaintsTheWholeBackground();
    void theGradientComesBackAfterARealDialogCoveredTheWindow();
    void theHiddenControlsLeaveTheGradientUntouched();
    void theClosingBracketStaysVisibleBesideTheSecondFactor_data();
    void theClosingBracketStaysVisibleBesideTheSecondFactor();
    void textsStayReadableOnTheBrightestTint();
    void buttonFacesKeepTheirColourAndShowTheirState();
    void eachControlHasItsTooltip_data();
    void eachControlHasItsTooltip();
    void eachControlHasTheDesignsFontAndTextColour_data();
    void eachControlHasTheDesignsFontAndTextColour();
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
    QTest::newRow("a first factor of 0") << 0 << -13 << 0 << 255;
    QTest::newRow("a second factor of 0") << -2 << 0 << 40 << 0;
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

void Look::aNewQuestionRepaintsTheWholeBackground()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-1, -1, 0);
    game.random.queueQuestion(-11, -20, 0);
    game.start(QStringLiteral("Mario"));
    game.answer(QStringLiteral("1"));
    QCOMPARE(At(ClientArea(game), kFreeColumn, 0), QColor(20, 20, 0));  // the first question is on screen
    game.clickAt(Rect(game, "cmdNext").center());

    const QImage image = ClientArea(game);
    for (const QPoint point : {QPoint(kFreeColumn, 0), QPoint(kFreeColumn, 277), QPoint(kFreeColumn, 553),
                               QPoint(2, 150), QPoint(420, 540)}) {
        const QColor colour = At(image, point.x(), point.y());
        QVERIFY2(colour.red() == 220 && colour.green() == 255,
                 qPrintable(QStringLiteral("(%1, %2) still shows the old tint").arg(point.x()).arg(point.y())));
    }
}

void Look::theGradientComesBackAfterARealDialogCoveredTheWindow()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-3, -4, 0);
    game.start(QStringLiteral("Mario"));
    game.answerInRealBox(MsgAnswer::ok);
    game.tavola->protocol().messageBox("Una finestra sopra la tavola", brivana::MsgStyle::ok);
    game.tavola->update();  // as the uncovered window is exposed again

    const QImage image = ClientArea(game);
    QCOMPARE(At(image, kFreeColumn, 0), QColor(60, 80, 0));
    QCOMPARE(At(image, kFreeColumn, 553), QColor(60, 80, 255));
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

void Look::eachControlHasTheDesignsFontAndTextColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixels");  // the design's points at 96 dots per inch
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("text");  // invalid: the platform's colour, not checked
    const QString sans = QStringLiteral("MS Sans Serif");
    const QString arial = QStringLiteral("Arial");
    const QString times = QStringLiteral("Times New Roman");
    const QColor system;
    const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 128, 0), magenta(192, 0, 192), yellow(255, 255, 0);
    const auto row = [](const char* name, const QString& face, int pixels, bool bold, bool italic, QColor text) {
        QTest::newRow(name) << QString::fromLatin1(name) << face << pixels << bold << italic << text;
    };
    row("txtAnswer", arial, 64, true, false, QColor(0, 0, 0));
    row("cmdNext", sans, 11, true, false, system);
    row("cmdExit", sans, 11, true, false, system);
    row("Command1", sans, 11, false, false, system);
    row("Label11", sans, 13, false, false, yellow);
    row("lblconto", QStringLiteral("Arial Black"), 16, true, false, yellow);
    row("Label14", sans, 18, false, false, green);
    row("Label13", sans, 24, false, false, magenta);
    row("lblpunti", sans, 32, false, false, magenta);
    row("Label12", sans, 24, false, false, magenta);
    row("lblnome1", sans, 18, true, false, green);
    row("lblnome", sans, 24, true, false, blue);
    row("Label7", arial, 96, true, false, red);
    row("Label5", arial, 96, true, false, red);
    row("Label3", sans, 24, false, false, blue);
    row("Label1", sans, 24, false, false, red);
    row("lblScore2", times, 48, true, false, blue);
    row("lblScore1", times, 48, true, false, red);
    row("lblTime", sans, 16, true, false, QColor(0, 0, 0));
    row("lblNum2", arial, 64, true, false, QColor(0, 0, 0));
    row("Label4", arial, 64, true, false, red);
    row("Label2", arial, 64, false, false, red);
    row("lblNum1", arial, 64, true, false, QColor(0, 0, 0));
    row("lblScore", times, 48, true, false, QColor(0, 255, 255));
    row("lblMessage", sans, 32, true, true, red);
    row("Label6", sans, 24, false, false, QColor(0, 192, 0));
}

void Look::eachControlHasTheDesignsFontAndTextColour()
{
    QFETCH(QString, name);
    QFETCH(QString, face);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QColor, text);
    TestGame game;
    game.start(QStringLiteral("Mario"));
    QWidget* control = game.control(name);
    const QFontInfo info(control->font());
    // The face itself where it is installed, otherwise its metric twin.
    const QString twin = face == QLatin1String("Times New Roman") ? QStringLiteral("Liberation Serif")
                                                                  : QStringLiteral("Liberation Sans");
    QVERIFY2(info.family() == face || info.family() == twin, qPrintable(info.family()));
    QCOMPARE(info.pixelSize(), pixels);
    QCOMPARE(info.bold(), bold);
    QCOMPARE(control->font().weight(), bold ? QFont::Bold : QFont::Normal);  // 700 or 400
    QCOMPARE(info.italic(), italic);
    QVERIFY(!info.underline() && !info.strikeOut());
    if (text.isValid()) {
        const QPalette::ColorRole role = qobject_cast<QLineEdit*>(control) ? QPalette::Text : QPalette::WindowText;
        QCOMPARE(control->palette().color(role), text);
    }
}

void Look::theClosingBracketStaysVisibleBesideTheSecondFactor_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<int>("s");
    QTest::addColumn<bool>("moves");
    QTest::newRow("7") << -7 << 1 << false;
    QTest::newRow("-5") << -5 << 0 << false;
    QTest::newRow("10") << -10 << 1 << true;
    QTest::newRow("-14") << -14 << 0 << true;
    QTest::newRow("-20") << -20 << 0 << true;
}

void Look::theClosingBracketStaysVisibleBesideTheSecondFactor()
{
    QFETCH(int, q);
    QFETCH(int, s);
    QFETCH(bool, moves);
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-2, q, s);
    game.start(QStringLiteral("Mario"));

    const QRect box = Rect(game, "lblNum2");
    const QRect bracket = Rect(game, "Label7");
    QCOMPARE(bracket.top(), -8);
    QCOMPARE(bracket.left(), moves ? box.left() + box.width() : 464);
    // Red ink of ")" shows right of the box.
    const QImage image = ClientArea(game);
    bool seen = false;
    for (int x = box.right() + 1; x < box.right() + 45 && !seen; ++x)
        for (int y = 20; y < 100 && !seen; ++y) seen = At(image, x, y) == QColor(255, 0, 0);
    QVERIFY(seen);
}

void Look::textsStayReadableOnTheBrightestTint()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-11, -20, 0);
    game.start(QStringLiteral("Mario"));
    const QImage image = ClientArea(game);

    // Each text keeps its colour and gets surroundings that stand 3:1 from it.
    for (const char* name : {"Label11", "lblconto", "Label6", "lblScore"}) {
        auto* label = game.control<QLabel>(name);
        const QColor text = label->palette().color(QPalette::WindowText);
        const QRect inside = label->contentsRect().translated(label->pos());
        bool ownColour = false;
        double best = 1;
        for (int x = inside.left(); x <= inside.right(); ++x)
            for (int y = std::max(0, inside.top()); y <= inside.bottom(); ++y) {
                ownColour = ownColour || At(image, x, y) == text;
                best = std::max(best, Contrast(At(image, x, y), text));
            }
        QVERIFY2(ownColour, name);
        // The framed ones keep a one-pixel frame in the text's colour.
        if (QByteArray(name) != "Label11") {
            const QRect box = label->geometry();
            QCOMPARE(At(image, box.left(), box.center().y()), text);
            QCOMPARE(At(image, box.right(), box.center().y()), text);
            QVERIFY(At(image, box.left() + 1, box.center().y()) != text);
        }
        QVERIFY2(best >= 3, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name)).arg(best)));
    }

    // The disabled caption reads as disabled, faded from black, yet stands 3:1 from the cyan face.
    const QRect next = Rect(game, "cmdNext");
    QColor darkest = kCyan;
    for (int x = next.left() + 5; x < next.right() - 5; ++x)
        for (int y = next.bottom() - 18; y < next.bottom() - 4; ++y)
            if (Contrast(At(image, x, y), kCyan) > Contrast(darkest, kCyan)) darkest = At(image, x, y);
    QVERIFY2(Contrast(darkest, kCyan) >= 3 && Contrast(darkest, kCyan) < 4.5, qPrintable(darkest.name()));
}

void Look::buttonFacesKeepTheirColourAndShowTheirState()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-2, -3, 0);
    game.start(QStringLiteral("Mario"));
    QVERIFY(QTest::qWaitForWindowActive(game.tavola.get()));
    const QRect exit = Rect(game, "cmdExit");
    const QRect next = Rect(game, "cmdNext");
    const auto pictureArea = [](const QImage& image, const QRect& button) {
        return image.copy(button.adjusted(20, 6, -20, -22));
    };
    const QImage disabled = ClientArea(game);
    // The caption shows its access key underlined, not as an ampersand.
    int first = exit.right(), last = exit.left();
    for (int x = exit.left() + 6; x < exit.right() - 6; ++x)
        for (int y = exit.bottom() - 18; y < exit.bottom() - 6; ++y)
            if (Contrast(At(disabled, x, y), QColor(192, 0, 192)) >= 3) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    const QFontMetrics caption(game.control("cmdExit")->font());
    QVERIFY2(last - first + 1 <= caption.horizontalAdvance(QStringLiteral("Exit")) + 1,
             qPrintable(QString::number(last - first + 1)));

    // Tab to the Exit button, as a pupil would: the face stays magenta, a frame shows the focus.
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_Tab);
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_Tab);
    QCOMPARE(game.tavola->focusWidget(), game.control("cmdExit"));
    QImage image = ClientArea(game);
    const QColor magenta(192, 0, 192);
    QCOMPARE(At(image, exit.left() + 8, exit.top() + 8), magenta);
    QCOMPARE(At(image, exit.right() - 8, exit.bottom() - 8), magenta);
    bool frame = false;
    for (int x = exit.left() + 10; x < exit.right() - 10; ++x) frame = frame || At(image, x, exit.top() + 3) != magenta;
    QVERIFY(frame);

    // The answer hands the focus to "Nuovo calcolo": cyan face, and its own picture once enabled.
    game.answer(QStringLiteral("6"));
    QCOMPARE(game.tavola->focusWidget(), game.control("cmdNext"));
    image = ClientArea(game);
    QCOMPARE(At(image, next.left() + 8, next.top() + 8), kCyan);
    QCOMPARE(At(image, next.right() - 8, next.bottom() - 8), kCyan);
    QVERIFY(pictureArea(image, next) != pictureArea(disabled, next));
    // Held down, it shows its pressed picture, not the face picture moved down a pixel.
    QTest::mousePress(game.control("cmdNext"), Qt::LeftButton, {}, QPoint(60, 36));
    QVERIFY(pictureArea(ClientArea(game), next.translated(1, 1)) != pictureArea(image, next));
    QTest::mouseRelease(game.control("cmdNext"), Qt::LeftButton, {}, QPoint(60, 36));
}

void Look::eachControlHasItsTooltip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("txtAnswer") << "txtAnswer" << "Inserisci il risultato e  premi il tasto  Invio";
    QTest::newRow("cmdNext") << "cmdNext" << "Go";
    QTest::newRow("cmdExit") << "cmdExit" << "Ti prego resta ancora, forse riuscirai a farmi uscire ";
    QTest::newRow("Image1") << "Image1" << "Clicca sotto di me per impostare il Timer";
    QTest::newRow("lblTime") << "lblTime" << "Clicca sotto di me per attivare il Timer";
    QTest::newRow("lblScore") << "lblScore" << QStringLiteral("Questo è il tuo punteggio. Forza con il  record");
    QTest::newRow("none on Label6") << "Label6" << "";
}

void Look::eachControlHasItsTooltip()
{
    QFETCH(QString, name);
    QFETCH(QString, tooltip);
    TestGame game;
    game.start(QStringLiteral("Mario"));
    QCOMPARE(game.control(name)->toolTip(), tooltip);
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
    // A name is shown as typed, never as markup.
    const QString markup = QStringLiteral("<b>Ada</b>");
    game.tavola->setText(Field::lblnome1, markup.toStdString());
    QVERIFY(Rect(game, "lblnome1").width() >= game.control("lblnome1")->fontMetrics().horizontalAdvance(markup));

    // The tallies grow to the right; their left edge stays put.
    for (const auto& [field, corner] : {std::pair{Field::lblScore, QPoint(72, 272)},
                                        std::pair{Field::lblScore1, QPoint(322, 272)},
                                        std::pair{Field::lblScore2, QPoint(554, 272)}}) {
        game.tavola->setText(field, "0");
        const QRect one = Rect(game, std::string(brivana::fieldName(field)).c_str());
        game.tavola->setText(field, "32767");
        const QRect five = Rect(game, std::string(brivana::fieldName(field)).c_str());
        QCOMPARE(one.topLeft(), corner);
        QCOMPARE(five.topLeft(), corner);
        QVERIFY(five.width() > 3 * one.width());
    }
}

void Look::recordTextsShowTheirLinesWithoutAStrayCarriageReturn()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    game.tavola->setText(Field::lblnome, "Anna");
    const int oneLine = Rect(game, "lblnome").height();
    game.tavola->setText(Field::lblnome, "Anna\r\nBea\r\nCarla");

    QCOMPARE(game.tavola->text(Field::lblnome), std::string("Anna\r\nBea\r\nCarla"));
    QCOMPARE(game.control<QLabel>("lblnome")->text(), QStringLiteral("Anna\nBea\nCarla"));
    QVERIFY(Rect(game, "lblnome").height() > 2 * oneLine);
}

void Look::theOtherLabelsKeepTheirRectangleAndWrap()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.start(QStringLiteral("Mario"));
    const QRect before = Rect(game, "lblMessage");
    // A short verdict stands in the middle of its field.
    const QString verdict = QStringLiteral("Sbagliato!! -12");
    game.tavola->setText(Field::lblMessage, verdict.toStdString());
    const QImage image = ClientArea(game);
    int first = before.right();
    for (int x = before.left(); x < 792; ++x)
        for (int y = before.top(); y < before.bottom() && x < first; ++y)
            if (At(image, x, y) == QColor(255, 0, 0)) first = x;
    const int margin = (before.width() - game.control("lblMessage")->fontMetrics().horizontalAdvance(verdict)) / 2;
    QVERIFY2(first >= before.left() + margin - 4, qPrintable(QString::number(first)));
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
    QCOMPARE(menus.at(2)->menu()->actions().first()->text(), QStringLiteral("Per contattare gli autori:autori@example.org"));
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
    // A label that shows a value is named with it, as a screen reader's review reads it.
    QCOMPARE(nameOf("txtAnswer"), QStringLiteral("Risposta"));
    QCOMPARE(nameOf("lblconto"), QStringLiteral("Tempo restante 15 minuti"));
    QCOMPARE(nameOf("lblScore"), QStringLiteral("Risposte esatte 0"));
    QCOMPARE(nameOf("lblpunti"), QStringLiteral("Punti del record 9"));
    QCOMPARE(nameOf("Command1"), QStringLiteral("Pulsante senza funzione"));

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
    game.tavola->protocol().setText(Field::lblNum1, "-7");
    QCOMPARE(nameOf("lblNum1"), QStringLiteral("Primo fattore meno 7"));
    QAccessibleInterface* answer = QAccessible::queryAccessibleInterface(game.control("txtAnswer"));
    QTest::keyClicks(game.control("txtAnswer"), QStringLiteral("-12"));
    QCOMPARE(answer->text(QAccessible::Value), QStringLiteral("-12"));
}

BRIVANA_WINDOW_TEST_MAIN(Look)
#include "look_test.moc"
