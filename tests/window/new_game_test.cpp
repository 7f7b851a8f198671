// A new game from the "NUOVO GIOCO" menu: confirmation, record, and the rebuilt window.
#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "test_game.h"
#include "test_main.h"
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
    game.dialogs.answerInput(name);
    game.dialogs.answerMessage();
}

}  // namespace

class NewGame : public QObject {
    Q_OBJECT

private slots:
    void answeringNoKeepsTheGameAndShowsTheMenu();
    void answeringYesSavesTheRecordAndRebuildsTheWindow();
    void theRebuiltWindowIsBlackUntilItsFirstQuestion();
    void fiftyNewGamesInARowLeaveOneWorkingWindow();
    void theCreditsEntryShowsOneMessageAndChangesNothing();
};

void NewGame::answeringNoKeepsTheGameAndShowsTheMenu()
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

    const auto& question = game.dialogs.shown().last();
    QCOMPARE(question.text, QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
    QCOMPARE(question.title, QStringLiteral("INIZIARE NUOVA GARA"));
    QCOMPARE(question.style, 292);
    QVERIFY(game.control<QMenu>(QStringLiteral("Next"))->isVisible());
    QTest::qWait(50);
    QCOMPARE(game.control(QStringLiteral("lblNum1")), before);
    QCOMPARE(game.text("lblScore"), QStringLiteral("1"));
    QCOMPARE(game.text("lblMessage"), QStringLiteral("Esatto. Sei proprio in gamba!"));
    QCOMPARE(game.text("lblconto"), QStringLiteral("00:14:57"));
    QVERIFY(game.timer()->isActive());

    // Opening it again asks again.
    game.control<QMenu>(QStringLiteral("Next"))->close();
    game.dialogs.answerMessage(MsgAnswer::no);
    OpenNewGameMenu(game);
    QCOMPARE(game.dialogs.messages().count(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?")), 2);
    QVERIFY(game.dialogs.surprises().isEmpty());
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

    QSignalSpy loaded(game.tavola.get(), &brivana::Tavola::loaded);
    game.dialogs.answerMessage(MsgAnswer::yes);
    game.dialogs.answerMessage();  // congratulation
    game.dialogs.answerInput(QStringLiteral("Luca"));
    game.dialogs.answerMessage();
    OpenNewGameMenu(game);
    QVERIFY(loaded.wait(2000));
    QTRY_VERIFY(oldScore.isNull() && oldMenus.isNull());

    QCOMPARE(game.dialogs.messages().mid(1),
             QStringList({"INIZIAMO UNA NUOVA GARA  ?", "Ok ho registrato il tuo record, C A M P I O N E\"",
                          " Luca vediamo se sei un vero campione  "}));
    QVERIFY(game.dialogs.surprises().isEmpty());
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
    game.dialogs.answerInput(QStringLiteral("Luca"), [&] {
        auto* surface = qobject_cast<brivana::window::Surface*>(game.tavola->centralWidget());
        gradientDuringLoad = surface->hasGradient();
        duringLoad = surface->grab().toImage().pixel(790, 300);
        captionDuringLoad = game.tavola->windowTitle();
    });
    game.dialogs.answerMessage();
    QSignalSpy loaded(game.tavola.get(), &brivana::Tavola::loaded);
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
    QSignalSpy loaded(game.tavola.get(), &brivana::Tavola::loaded);

    for (int round = 1; round <= 50; ++round) {
        ScriptNewGame(game, QStringLiteral("Giocatore %1").arg(round));
        game.answer(QStringLiteral("1"));
        OpenNewGameMenu(game);
        QVERIFY(loaded.wait(2000));
        QCOMPARE(loaded.count(), round);
    }
    QTest::qWait(20);

    QCOMPARE(game.text("lblnome1"), QStringLiteral("Giocatore 50"));
    QVERIFY(game.dialogs.surprises().isEmpty());
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

    QCOMPARE(game.dialogs.shown().size(), 3);
    const auto& credits = game.dialogs.shown().last();
    QCOMPARE(credits.title, QStringLiteral("Brivana"));
    QCOMPARE(credits.style, 0);
    QVERIFY(credits.text.contains(QStringLiteral("@example.org")));
    QVERIFY(credits.text.contains(QLatin1String(brivana::kVersion)));
    QCOMPARE(game.text("lblNum1") + game.text("lblconto") + game.tavola->windowTitle(), before);
}

BRIVANA_WINDOW_TEST_MAIN(NewGame)
#include "new_game_test.moc"
