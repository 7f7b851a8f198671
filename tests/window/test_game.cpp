#include "test_game.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimerEvent>

namespace brivana::test {

TestGame::TestGame()
{
    tavola = std::make_unique<Tavola>(Services{random, dateTime_, place_, records_}, dialogs);
}

TestGame::~TestGame() = default;

void TestGame::writeRecord(const QByteArray& score, const QByteArray& holder)
{
    testing::WriteBytes(dir.file("briv2s.txt"), score.toStdString());
    testing::WriteBytes(dir.file("nbriv2s.txt"), holder.toStdString());
}

QByteArray TestGame::scoreFile() const { return QByteArray::fromStdString(testing::ReadBytes(dir.file("briv2s.txt"))); }
QByteArray TestGame::holderFile() const { return QByteArray::fromStdString(testing::ReadBytes(dir.file("nbriv2s.txt"))); }

void TestGame::start(const QString& name)
{
    dialogs.answerInput(name.toStdString());
    dialogs.answerMessage();
    tavola->start();
}

namespace {

// Presses the button once the message box is open; looks again a little later until then.
void PressWhenOpen(QMessageBox::StandardButton button, int triesLeft = 200)
{
    QTimer::singleShot(10, [button, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && box->button(button)) {
            box->button(button)->click();
        } else if (triesLeft > 0) {
            PressWhenOpen(button, triesLeft - 1);
        }
    });
}

}  // namespace

void TestGame::answerInRealBox(MsgAnswer answer)
{
    const auto button = answer == MsgAnswer::yes  ? QMessageBox::Yes
                        : answer == MsgAnswer::no ? QMessageBox::No
                                                  : QMessageBox::Ok;
    dialogs.answerWith(realDialogs_, [button] { PressWhenOpen(button); });
}

QStringList TestGame::messages() const
{
    QStringList texts;
    for (const std::string& text : dialogs.messages()) texts.append(QString::fromStdString(text));
    return texts;
}

QString TestGame::text(const QString& name) const
{
    if (auto* box = control<QLineEdit>(name)) return box->text();
    if (auto* label = control<window::CaptionLabel>(name)) return label->caption();
    return QStringLiteral("<no control %1>").arg(name);
}

void TestGame::tick(int times)
{
    for (int i = 0; i < times; ++i) {
        if (!timer()->isActive()) return;  // a stopped timer does not tick
        QTimerEvent event(timer()->timerId());
        QCoreApplication::sendEvent(timer(), &event);
    }
}

void TestGame::answer(const QString& typed)
{
    QWidget* box = control(QStringLiteral("txtAnswer"));
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
}

QImage TestGame::screen() const
{
    QWidget* client = tavola->centralWidget();
    if (!QTest::qWaitForWindowExposed(tavola.get())) qFatal("the window is not shown");
    QTest::qWait(30);  // the paints the event loop has pending
    const QPoint origin = client->mapTo(tavola.get(), QPoint(0, 0));
    return tavola->screen()
        ->grabWindow(tavola->winId(), origin.x(), origin.y(), client->width(), client->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

void TestGame::clickAt(QPoint point)
{
    QWidget* client = tavola->centralWidget();
    QWidget* target = client->childAt(point);
    if (!target) target = client;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(client, point));
}

}  // namespace brivana::test
