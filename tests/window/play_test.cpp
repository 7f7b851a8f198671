// Whole games played through the real window: keys, verdicts, tallies, the clock and the end.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "test_game.h"
#include "test_main.h"

using brivana::MsgAnswer;
using brivana::test::TestGame;

class PlayingAGame : public QObject {
    Q_OBJECT

private slots:
    void theStartAsksTheNameGreetsThePlayerAndPosesTheFirstQuestion();
    void typedLettersAreSwallowedWhileDigitsAndMinusGoIn();
    void editingKeysEditAndComposedLettersAreSwallowed();
    void pastingWithControlVIsRefusedButShiftInsertPastesThroughTheFilter();
    void clicksReachWhatIsOnTopAndThoseWithoutAHandlerDoNothing_data();
    void clicksReachWhatIsOnTopAndThoseWithoutAHandlerDoNothing();
    void aRightAndAWrongAnswerShowTheVerdictAndTheTallies();
    void enterAfterTheVerdictPosesTheNextQuestionInsteadOfCountingAgain();
    void altNDoesNothingWhileTheNextButtonIsDisabled();
    void theWindowHandsItsKeysToTheProtocol();
    void aScreenReaderHearsTheQuestionAndTheVerdictAsTheFocusMovesAndTheClockOnlyWhenAsked();
    void minimisingKeepsTheCaptionAndRestoringSetsItAgain();
    void theClockCountsDownAndEndsTheGameAtTheNineHundredAndFirstTick();
    void aTimeOutBehindTheRecordNoticeEndsTheGameOnlyOnce();
    void exitSavesABetterRecordWithTheExactBytes();
    void exitWithAnEqualScoreSavesNothing();
    void closingTheWindowSaysGoodbyeAndSavesABetterRecord();
};

void PlayingAGame::theStartAsksTheNameGreetsThePlayerAndPosesTheFirstQuestion()
{
    TestGame game;
    game.random.queueQuestion(-3, -4, 1);  // -3 x (4)
    QString captionDuringLoad;
    bool nextEnabledDuringLoad = true;
    game.dialogs.answerInput("Mario", [&] { captionDuringLoad = game.tavola->windowTitle(); });
    // The controls are built once the name is given: the greeting sees them as the load left them.
    game.dialogs.answerMessage(MsgAnswer::ok, [&] { nextEnabledDuringLoad = game.control("cmdNext")->isEnabled(); });
    game.tavola->start();

    QVERIFY(game.dialogs.surprises().empty());
    QCOMPARE(game.dialogs.shown().size(), std::size_t(2));
    const auto& prompt = game.dialogs.shown().at(0);
    QVERIFY(prompt.input);
    QCOMPARE(prompt.text, std::string("Come ti chiami?"));
    QCOMPARE(prompt.title, std::string("Gioca con il prodotto di numeri relativi"));
    const auto& greeting = game.dialogs.shown().at(1);
    QCOMPARE(greeting.text, std::string(" Mario vediamo se sei un vero campione  "));
    QCOMPARE(greeting.style, 48);
    QCOMPARE(greeting.title, std::string("Sei pronto per il record? Buona fortuna"));

    QCOMPARE(captionDuringLoad, QStringLiteral(" Giochiamo con il prodotto di numeri relativi"));
    QVERIFY(!nextEnabledDuringLoad);
    QCOMPARE(game.tavola->windowTitle(), QStringLiteral("Deroz Brivana"));
    QVERIFY(game.tavola->isVisible());
    QCOMPARE(game.text("lblnome1"), QStringLiteral("Mario"));
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:15:00"));
    QCOMPARE(game.text("lblNum1"), QStringLiteral("-3"));
    QCOMPARE(game.text("lblNum2"), QStringLiteral("4"));
    QCOMPARE(game.text("lblnum5"), QStringLiteral("0"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("0"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("0"));
    QVERIFY(!game.control("cmdNext")->isEnabled());
    QCOMPARE(game.tavola->focusWidget(), game.control("txtAnswer"));
    QVERIFY(game.timer()->isActive());
    QCOMPARE(game.timer()->interval(), 1000);
    // A first start creates both record files, empty.
    QCOMPARE(game.scoreFile(), QByteArray());
    QCOMPARE(game.holderFile(), QByteArray());
}

void PlayingAGame::typedLettersAreSwallowedWhileDigitsAndMinusGoIn()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    auto* box = game.control<QLineEdit>("txtAnswer");

    QTest::keyClicks(box, QStringLiteral("a 1.+b-x"));
    QCOMPARE(box->text(), QStringLiteral("1-"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1"));
    // At most four characters.
    QTest::keyClicks(box, QStringLiteral("23456"));
    QCOMPARE(box->text(), QStringLiteral("1234"));
    QVERIFY(game.text("lblMessage").isEmpty());
}

void PlayingAGame::editingKeysEditAndComposedLettersAreSwallowed()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    auto* box = game.control<QLineEdit>("txtAnswer");

    QTest::keyClicks(box, QStringLiteral("1234"));
    QTest::keyClick(box, Qt::Key_Home);
    // X11 reports Delete with the character 127 as its text.
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Delete, QString(QChar(127)), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Delete, QString(QChar(127)), Qt::NoModifier);
    QCOMPARE(box->text(), QStringLiteral("34"));
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClicks(box, QStringLiteral("-"));
    QCOMPARE(box->text(), QStringLiteral("3-4"));

    // A dead key and a letter arrive composed, through the input method.
    box->clear();
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("é5"));
    QCoreApplication::sendEvent(box, &composed);
    QCOMPARE(box->text(), QStringLiteral("5"));
}

void PlayingAGame::pastingWithControlVIsRefusedButShiftInsertPastesThroughTheFilter()
{
    TestGame game;
    game.random.queueQuestion(-1, -5, 0);  // -1 x (-5) = 5
    game.start(QStringLiteral("Mario"));
    auto* box = game.control<QLineEdit>("txtAnswer");
    QGuiApplication::clipboard()->setText(QStringLiteral("5 e\r\nbasta"));

    // Qt Test reports Ctrl+V as "v" with Control held; a platform may send character 22.
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    QCOMPARE(box->text(), QString());

    // Each pasted character goes through the key filter; the line break evaluates nothing.
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(box->text(), QStringLiteral("5"));
    // So does the context menu's paste: the letters are gone before the length limit counts.
    QGuiApplication::clipboard()->setText(QStringLiteral("ab12"));
    QContextMenuEvent atBox(QContextMenuEvent::Keyboard, QPoint(1, 1), box->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(box, &atBox);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* entry : menu->actions())
        if (entry->text().startsWith(paste)) entry->trigger();
    menu->close();
    QCOMPARE(box->text(), QStringLiteral("512"));
    QVERIFY(game.text("lblMessage").isEmpty());
    box->setText(QStringLiteral("5"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Esatto. Sei proprio in gamba!"));
}

void PlayingAGame::clicksReachWhatIsOnTopAndThoseWithoutAHandlerDoNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("posesAQuestion");
    QTest::newRow("the middle of Nuovo calcolo, over Command1") << "cmdNext" << true;
    QTest::newRow("Image1") << "Image1" << false;
    QTest::newRow("lblTime") << "lblTime" << false;
    QTest::newRow("a tally") << "lblScore1" << false;
    QTest::newRow("Command1 itself") << "Command1" << false;
    QTest::newRow("the entry Istituto") << "Istituto" << false;
    QTest::newRow("the entry o") << "o" << false;
}

void PlayingAGame::clicksReachWhatIsOnTopAndThoseWithoutAHandlerDoNothing()
{
    QFETCH(QString, target);
    QFETCH(bool, posesAQuestion);
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-2, -3, 0);
    game.random.queueQuestion(-9, -9, 0);
    game.start(QStringLiteral("Mario"));
    game.answer(QStringLiteral("6"));
    const QString before = game.text("lblNum1") + game.text("lblMessage") + game.text("lblScore2");
    const int drawn = game.random.drawn();

    if (auto* entry = game.tavola->findChild<QAction*>(target))
        entry->trigger();
    else if (target == QLatin1String("Command1"))
        game.control<QAbstractButton>(target)->click();
    else
        game.clickAt(game.control(target)->geometry().center());

    QCOMPARE(game.random.drawn() > drawn, posesAQuestion);
    QCOMPARE(game.text("lblNum1"), posesAQuestion ? QStringLiteral("-9") : QStringLiteral("-2"));
    if (!posesAQuestion)
        QCOMPARE(game.text("lblNum1") + game.text("lblMessage") + game.text("lblScore2"), before);
    QCOMPARE(game.dialogs.shown().size(), std::size_t(2));
    QVERIFY(game.dialogs.surprises().empty());
}

void PlayingAGame::aRightAndAWrongAnswerShowTheVerdictAndTheTallies()
{
    TestGame game;
    game.random.queueQuestion(-3, -4, 0);  // -3 x (-4) = 12
    game.random.queueQuestion(-3, -4, 1);  // -3 x (4) = -12
    game.start(QStringLiteral("Mario"));

    game.answer(QStringLiteral("12"));
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Esatto. Sei proprio in gamba!"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("1"));
    QCOMPARE(game.text("lblScore1"), QStringLiteral("0"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("1"));
    QVERIFY(game.control("cmdNext")->isEnabled());
    QCOMPARE(game.tavola->focusWidget(), game.control("cmdNext"));

    QTest::mouseClick(game.control("cmdNext"), Qt::LeftButton);
    QCOMPARE(game.text("lblNum2"), QStringLiteral("4"));
    QVERIFY(game.text("txtAnswer").isEmpty());
    QVERIFY(game.text("lblMessage").isEmpty());

    game.answer(QStringLiteral("12"));
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Sbagliato!! -12"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("1"));
    QCOMPARE(game.text("lblScore1"), QStringLiteral("1"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("2"));
}

void PlayingAGame::enterAfterTheVerdictPosesTheNextQuestionInsteadOfCountingAgain()
{
    TestGame game;
    game.random.queueQuestion(-2, -3, 0);  // 6
    game.random.queueQuestion(-7, -2, 2);  // 7 x (-2)
    game.random.queueQuestion(-5, -5, 0);
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.start(QStringLiteral("Mario"));

    game.answer(QStringLiteral("6"));
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_Return);
    QCOMPARE(game.text("lblNum1"), QStringLiteral("7"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("1"));

    // Back in the box after the verdict, Enter still goes to the default button.
    game.answer(QStringLiteral("-14"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("2"));
    game.control("txtAnswer")->setFocus();
    QTest::keyClick(game.control("txtAnswer"), Qt::Key_Return);
    QCOMPARE(game.text("lblNum1"), QStringLiteral("-5"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("2"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("2"));
    QVERIFY(game.dialogs.surprises().empty());
}

void PlayingAGame::altNDoesNothingWhileTheNextButtonIsDisabled()
{
    TestGame game;
    game.random.queueQuestion(-2, -3, 0);
    game.random.queueQuestion(-9, -9, 0);
    game.start(QStringLiteral("Mario"));
    QVERIFY(QTest::qWaitForWindowActive(game.tavola.get()));
    const int drawn = game.random.drawn();

    QTest::keyClicks(game.control("txtAnswer"), QStringLiteral("7"));
    QTest::keyClick(game.control("txtAnswer"), Qt::Key_N, Qt::AltModifier);
    QTest::qWait(250);  // an access key clicks after a short animation
    QCOMPARE(game.random.drawn(), drawn);
    QCOMPARE(game.text("lblNum1"), QStringLiteral("-2"));
    QCOMPARE(game.text("txtAnswer"), QStringLiteral("7"));

    QTest::keyClick(game.control("txtAnswer"), Qt::Key_Return);
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(game.text("lblNum1"), QStringLiteral("-9"));
}

// Ctrl+Backspace, Esc, Ctrl+Enter and Alt+X as the protocol's table says, wherever Qt would
// have taken them itself.
void PlayingAGame::theWindowHandsItsKeysToTheProtocol()
{
    TestGame game;
    game.random.queueQuestion(-2, -3, 0);  // 6
    game.start(QStringLiteral("Mario"));
    auto* box = game.control<QLineEdit>("txtAnswer");

    QTest::keyClicks(box, QStringLiteral("-12"));
    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, QStringLiteral("6"));
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(box->text(), QStringLiteral("6"));
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Esatto. Sei proprio in gamba!"));

    game.dialogs.answerMessage();
    game.dialogs.answerMessage();
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_X, Qt::AltModifier);
    QVERIFY(game.tavola->hasEnded());
}

// What a screen reader hears: the focused control's name and description as they are when the
// focus comes, and each notification as it appears.
class ScreenReader final : public QObject {
public:
    ScreenReader() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        QAccessibleInterface* said = object->isWidgetType() ? QAccessible::queryAccessibleInterface(object) : nullptr;
        if (said && (event->type() == QEvent::FocusIn ||
                     (event->type() == QEvent::Show && said->role() == QAccessible::Notification)))
            heard << said->text(QAccessible::Name) + ": " + said->text(QAccessible::Description);
        return false;
    }
    QStringList heard;
};

void PlayingAGame::aScreenReaderHearsTheQuestionAndTheVerdictAsTheFocusMovesAndTheClockOnlyWhenAsked()
{
    ScreenReader reader;
    TestGame game;
    game.random.queueQuestion(-3, -4, 0);  // -3 x (-4)
    game.random.queueQuestion(-7, -2, 2);  // 7 x (-2)
    game.start(QStringLiteral("Mario"));
    game.tavola->activateWindow();  // only the active window has a focus that is told
    QVERIFY(QTest::qWaitForWindowActive(game.tavola.get()));
    game.answer(QStringLiteral("11"));
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_Return);
    QTest::keyClick(game.tavola->focusWidget(), Qt::Key_F2);
    game.tick(841);

    const QStringList expected{
        QStringLiteral("Nuovo calcolo: Sbagliato!! 12. Risposte esatte 0, errate 1, totali 1."),
        QStringLiteral("Risposta: Quanto fa 7 per meno 2? Scrivi il risultato e premi Invio."),
        QStringLiteral("Tempo restante 15 minuti: "),
        QStringLiteral("Attenzione: manca un minuto alla fine del gioco.: "),
    };
    QCOMPARE(reader.heard.mid(reader.heard.indexOf(expected.first())), expected);
    QCOMPARE(QAccessible::queryAccessibleInterface(game.control("lblScore1"))->text(QAccessible::Name),
             QStringLiteral("Risposte errate 1"));
}

void PlayingAGame::minimisingKeepsTheCaptionAndRestoringSetsItAgain()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    game.tavola->setWindowTitle(QStringLiteral("altro"));

    game.tavola->showMinimized();
    QVERIFY(game.tavola->isMinimized());
    QCOMPARE(game.tavola->windowTitle(), QStringLiteral("altro"));

    game.tavola->showNormal();
    QCOMPARE(game.tavola->windowTitle(), QStringLiteral("Deroz Brivana"));
}

void PlayingAGame::theClockCountsDownAndEndsTheGameAtTheNineHundredAndFirstTick()
{
    TestGame game;
    game.start(QStringLiteral("Mario"));
    game.dialogs.answerMessage();

    game.tick();
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:14:59"));
    game.tick(59);
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:14:00"));
    game.tick();
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:13:59"));
    game.tick(839);
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:00:00"));
    QCOMPARE(game.dialogs.shown().size(), std::size_t(2));
    QVERIFY(!game.tavola->hasEnded());

    game.tick();
    QCOMPARE(game.dialogs.shown().size(), std::size_t(3));
    const auto& farewell = game.dialogs.shown().back();
    QCOMPARE(farewell.text, std::string("Ciao Mario, alla prossima sfida!"));
    QCOMPARE(farewell.style, 0);
    QCOMPARE(farewell.title, "Data " + brivana::test::kNow.toStdString());
    QVERIFY(game.tavola->hasEnded());
    QVERIFY(!game.timer()->isActive());
    QVERIFY(!game.tavola->isVisible());
}

void PlayingAGame::aTimeOutBehindTheRecordNoticeEndsTheGameOnlyOnce()
{
    TestGame game;
    game.writeRecord("0\r\n", "Anna\r\n");
    game.random.queueQuestion(-1, -1, 0);
    game.start(QStringLiteral("Mario"));
    game.answer(QStringLiteral("1"));

    // The notice stays open while the clock runs out, and past that.
    game.dialogs.answerMessage(MsgAnswer::ok, [&] { game.tick(905); });
    game.dialogs.answerMessage();  // farewell
    game.dialogs.answerMessage();  // congratulation
    QTest::mouseClick(game.control("cmdNext"), Qt::LeftButton);

    QCOMPARE(game.messages().mid(1),
             QStringList({"E' record", "Ciao Mario, alla prossima sfida!",
                          "Ok ho registrato il tuo record, C A M P I O N E"}));
    QVERIFY(game.dialogs.surprises().empty());
    QVERIFY(game.tavola->hasEnded());
    QCOMPARE(game.scoreFile(), QByteArray("1\r\n"));
}

void PlayingAGame::exitSavesABetterRecordWithTheExactBytes()
{
    TestGame game;
    game.writeRecord("1\r\n", "Anna\r\n");
    game.random.queueQuestion(-2, -2, 0);
    game.random.queueQuestion(-2, -3, 0);
    game.start(QStringLiteral("Mario Rossi"));
    QCOMPARE(game.text("lblpunti"), QStringLiteral("1\r\n"));
    QCOMPARE(game.text("lblnome"), QStringLiteral("Anna\r\n"));
    game.answer(QStringLiteral("4"));
    QTest::mouseClick(game.control("cmdNext"), Qt::LeftButton);
    game.dialogs.answerMessage();  // "E' record"
    game.answer(QStringLiteral("6"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("2"));

    game.dialogs.answerMessage();
    game.dialogs.answerMessage();
    QTest::mouseClick(game.control("cmdExit"), Qt::LeftButton);

    QCOMPARE(game.messages().last(), QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E"));
    QCOMPARE(game.scoreFile(), QByteArray("2\r\n"));
    QCOMPARE(game.holderFile(), QByteArray("Mario Rossi\r\n"));
    QVERIFY(game.tavola->hasEnded());
    QVERIFY(game.dialogs.surprises().empty());
}

void PlayingAGame::exitWithAnEqualScoreSavesNothing()
{
    TestGame game;
    game.writeRecord("1\r\n", "Anna\r\n");
    game.random.queueQuestion(-2, -2, 0);
    game.start(QStringLiteral("Mario"));
    game.answer(QStringLiteral("4"));

    game.dialogs.answerMessage();
    QVERIFY(QTest::qWaitForWindowActive(game.tavola.get()));
    game.control("txtAnswer")->setFocus();
    QTest::keyClick(game.control("txtAnswer"), Qt::Key_X, Qt::AltModifier);

    QTRY_VERIFY(game.tavola->hasEnded());
    QCOMPARE(game.messages().last(), QStringLiteral("Ciao Mario, alla prossima sfida!"));
    QCOMPARE(game.scoreFile(), QByteArray("1\r\n"));
    QCOMPARE(game.holderFile(), QByteArray("Anna\r\n"));
    QVERIFY(game.tavola->hasEnded());
}

void PlayingAGame::closingTheWindowSaysGoodbyeAndSavesABetterRecord()
{
    TestGame game;
    game.random.queueQuestion(-2, -2, 0);
    game.start(QStringLiteral("Ada"));
    game.answer(QStringLiteral("4"));

    game.dialogs.answerMessage();
    game.dialogs.answerMessage();
    QVERIFY(game.tavola->close());

    QCOMPARE(game.messages().mid(1),
             QStringList({"Ciao Ada, alla prossima sfida!", "Ok ho registrato il tuo record, C A M P I O N E"}));
    QCOMPARE(game.scoreFile(), QByteArray("1\r\n"));
    QCOMPARE(game.holderFile(), QByteArray("Ada\r\n"));
    QVERIFY(game.tavola->hasEnded());
    QVERIFY(!game.tavola->isVisible());
}

BRIVANA_WINDOW_TEST_MAIN(PlayingAGame)
#include "play_test.moc"
