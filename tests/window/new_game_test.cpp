// A new game from the "NUOVO GIOCO" menu: confirmation, record, and the rebuilt window.
#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "test_game.h"
#include "test_main.h"
#include "layout/menu_table.h"
#include "window/surface.h"
#include "window/version.h"

using brivana::MsgAnswer;
using brivana::test::TestGame;

namespace {

// Opens the menu as the player does, by clicking its title on the menu bar.
void OpenNewGameMenu(TestGame& game)
{
    QMenuBar* bar = game.tavola->menuBar();
    auto* menu = game.control<QMenu>(QStringLiteral("Next"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
}

// Answers Yes to the confirmation, then the new name prompt and greeting.
void ScriptNewGame(TestGame& game, const QString& name)
{
    game.dialogs.answerMessage(MsgAnswer::yes);
    game.dialogs.answerInput(name.toStdString());
    game.dialogs.answerMessage();
}

}  // namespace

class NewGame : public QObject {
    Q_OBJECT

private slots:
    void answeringNoKeepsTheGameAndClosesTheMenu();
    void afterDecliningTheKeysGoBackToTheAnswerBox_data();
    void afterDecliningTheKeysGoBackToTheAnswerBox();
    void answeringYesSavesTheRecordAndRebuildsTheWindow();
    void theRebuiltWindowIsBlackUntilItsFirstQuestion();
    void fiftyNewGamesInARowLeaveOneWorkingWindow();
    void theCreditsEntryShowsOneMessageAndChangesNothing();
};

void NewGame::answeringNoKeepsTheGameAndClosesTheMenu()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-3, -4, 0);
    game.start(QStringLiteral("Mario"));
    game.answer(QStringLiteral("12"));
    game.tick(3);
    QWidget* before = game.control(QStringLiteral("lblNum1"));

    game.dialogs.answerMessage(MsgAnswer::no);
    OpenNewGameMenu(game);
    QTRY_COMPARE(game.messages().count(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?")), 1);

    const auto& question = game.dialogs.shown().back();
    QCOMPARE(question.text, std::string("INIZIAMO UNA NUOVA GARA  ?"));
    QCOMPARE(question.title, std::string("INIZIARE NUOVA GARA"));
    QCOMPARE(question.style, 292);
    QTRY_VERIFY(!game.control<QMenu>(QStringLiteral("Next"))->isVisible());
    QCOMPARE(game.control(QStringLiteral("lblNum1")), before);
    QCOMPARE(game.text("lblScore"), QStringLiteral("1"));
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Esatto. Sei proprio in gamba!"));
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:14:57"));
    QVERIFY(game.timer()->isActive());

    // Opening it again asks again.
    game.dialogs.answerMessage(MsgAnswer::no);
    OpenNewGameMenu(game);
    QTRY_COMPARE(game.messages().count(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?")), 2);
    QVERIFY(game.dialogs.surprises().empty());
}

void NewGame::afterDecliningTheKeysGoBackToTheAnswerBox_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("menu opened with the mouse") << false;
    QTest::newRow("menu opened from the keyboard") << true;
}

// The real question, with its own window and nested loop, answered No; the drop-down closes by
// itself and the pupil types on, wherever the keyboard now goes.
void NewGame::afterDecliningTheKeysGoBackToTheAnswerBox()
{
    QFETCH(bool, byKeyboard);
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.random.queueQuestion(-3, -4, 0);
    game.start(QStringLiteral("Mario"));
    QVERIFY(QTest::qWaitForWindowActive(game.tavola.get()));

    game.answerInRealBox(MsgAnswer::no);
    if (byKeyboard) {
        // F10 opens the first menu; the arrows go on to "NUOVO GIOCO".
        QTest::keyClick(game.tavola->focusWidget(), Qt::Key_F10);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
    } else {
        OpenNewGameMenu(game);
    }
    QTRY_COMPARE(game.messages().last(), QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QTest::qWait(50);

    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
    QCOMPARE(game.text("txtAnswer"), QStringLiteral("12"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Esatto. Sei proprio in gamba!"));
}

void NewGame::answeringYesSavesTheRecordAndRebuildsTheWindow()
{
    TestGame game;
    game.random.queueQuestion(-3, -4, 0);
    game.random.queueQuestion(-6, -7, 2);
    game.start(QStringLiteral("Mario"));
    game.answer(QStringLiteral("12"));
    game.tick(10);
    QPointer<QWidget> oldScore = game.control(QStringLiteral("lblScore"));
    QPointer<QMenuBar> oldMenus = game.tavola->menuBar();

    QSignalSpy loaded(game.tavola.get(), &brivana::Tavola::gameLoaded);
    game.dialogs.answerMessage(MsgAnswer::yes);
    game.dialogs.answerMessage();  // congratulation
    game.dialogs.answerInput("Luca");
    game.dialogs.answerMessage();
    OpenNewGameMenu(game);
    QVERIFY(loaded.wait(2000));
    QTRY_VERIFY(oldScore.isNull() && oldMenus.isNull());

    QCOMPARE(game.messages().mid(1),
             QStringList({"INIZIAMO UNA NUOVA GARA  ?", "Ok ho registrato il tuo record, C A M P I O N E\"",
                          " Luca vediamo se sei un vero campione  "}));
    QVERIFY(game.dialogs.surprises().empty());
    QCOMPARE(game.scoreFile(), QByteArray("1\r\n"));
    QCOMPARE(game.holderFile(), QByteArray("Mario\r\n"));

    QCOMPARE(game.text("lblnome1"), QStringLiteral("Luca"));
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:15:00"));
    QCOMPARE(game.text("lblpunti"), QStringLiteral("1\r\n"));
    QCOMPARE(game.text("lblnome"), QStringLiteral("Mario\r\n"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("0"));
    QCOMPARE(game.text("lblScore1"), QStringLiteral("0"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("0"));  // its design-time caption
    QCOMPARE(game.text("lblNum1"), QStringLiteral("6"));
    QVERIFY(game.text("lblMessage").isEmpty());
    QCOMPARE(game.tavola->windowTitle(), QStringLiteral("Deroz Brivana"));
    QVERIFY(!game.control(QStringLiteral("cmdNext"))->isEnabled());
    QVERIFY(game.tavola->isVisible());
    QVERIFY(!game.control<QMenu>(QStringLiteral("Next"))->isVisible());
    QVERIFY(game.timer()->isActive());
    game.tick();
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:14:59"));
}

void NewGame::theRebuiltWindowIsBlackUntilItsFirstQuestion()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.start(QStringLiteral("Mario"));
    QVERIFY(qobject_cast<brivana::window::Surface*>(game.tavola->centralWidget())->hasGradient());

    QRgb duringLoad = 0;
    bool gradientDuringLoad = true;
    QString captionDuringLoad;
    game.dialogs.answerMessage(MsgAnswer::yes);
    game.dialogs.answerInput("Luca", [&] {
        auto* surface = qobject_cast<brivana::window::Surface*>(game.tavola->centralWidget());
        gradientDuringLoad = surface->hasGradient();
        duringLoad = surface->grab().toImage().pixel(790, 300);
        captionDuringLoad = game.tavola->windowTitle();
    });
    game.dialogs.answerMessage();
    QSignalSpy loaded(game.tavola.get(), &brivana::Tavola::gameLoaded);
    OpenNewGameMenu(game);
    QVERIFY(loaded.wait(2000));

    QVERIFY(!gradientDuringLoad);
    QCOMPARE(duringLoad, qRgb(0, 0, 0));
    QCOMPARE(captionDuringLoad, QStringLiteral(" Giochiamo con il prodotto di numeri relativi"));
    QVERIFY(qobject_cast<brivana::window::Surface*>(game.tavola->centralWidget())->hasGradient());
}

void NewGame::fiftyNewGamesInARowLeaveOneWorkingWindow()
{
    TestGame game;
    game.writeRecord("9999\r\n", "Zeno\r\n");
    game.start(QStringLiteral("Giocatore 0"));
    QSignalSpy loaded(game.tavola.get(), &brivana::Tavola::gameLoaded);

    for (int round = 1; round <= 50; ++round) {
        ScriptNewGame(game, QStringLiteral("Giocatore %1").arg(round));
        game.answer(QStringLiteral("1"));
        OpenNewGameMenu(game);
        QVERIFY(loaded.wait(2000));
        QCOMPARE(loaded.count(), round);
    }
    QTest::qWait(20);

    QCOMPARE(game.text("lblnome1"), QStringLiteral("Giocatore 50"));
    QVERIFY(game.dialogs.surprises().empty());
    QVERIFY(game.dialogs.scriptDone());
    QCOMPARE(game.tavola->findChildren<brivana::window::Surface*>().size(), 1);
    QCOMPARE(game.tavola->findChildren<QMenuBar*>().size(), 1);
    // The last window still plays.
    game.answer(QStringLiteral("99"));
    QCOMPARE(game.text("lblScore2"), QStringLiteral("1"));
}

void NewGame::theCreditsEntryShowsOneMessageAndChangesNothing()
{
    TestGame game;
    game.writeRecord("9\r\n", "Zeno\r\n");
    game.start(QStringLiteral("Mario"));
    const QString before = game.text("lblNum1") + game.text("lblconto") + game.tavola->windowTitle();

    game.dialogs.answerMessage();
    game.tavola->findChild<QAction*>(QStringLiteral("copy"))->trigger();

    QCOMPARE(game.dialogs.shown().size(), std::size_t(3));
    const auto& credits = game.dialogs.shown().back();
    QCOMPARE(credits.title, std::string("Brivana"));
    QCOMPARE(credits.style, 0);
    const std::string_view text = brivana::layout::CreditsText();
    QCOMPARE(credits.text, std::string("Brivana ") + brivana::kVersion + "\n" + std::string(text));
    QCOMPARE(game.text("lblNum1") + game.text("lblconto") + game.tavola->windowTitle(), before);
}

BRIVANA_WINDOW_TEST_MAIN(NewGame)
#include "new_game_test.moc"
