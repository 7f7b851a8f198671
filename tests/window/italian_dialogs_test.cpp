// The program's real dialogs, answered through their buttons: Italian texts, the question's
// default button, and what cancelling gives.
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <functional>

#include "system/system_random.h"
#include "test_game.h"
#include "fake_services.h"
#include "test_main.h"
#include "window/italian_translations.h"
#include "window/qt_dialogs.h"
#include "window/surface.h"

using brivana::MsgAnswer;
using brivana::window::QtDialogs;

namespace {

// Runs `answer` on the dialog once it is open and modal.
void WhenOpen(std::function<void(QDialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        answer(*qobject_cast<QDialog*>(QApplication::activeModalWidget()));
    });
}

QStringList ButtonTexts(const QDialog& dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        texts.append(button->text().remove(QLatin1Char('&')));
    texts.sort();
    return texts;
}

// The real dialogs, with the texts in QString as these tests write them.
struct InQString {
    QtDialogs& dialogs;
    MsgAnswer messageBox(std::nullptr_t, const QString& text, int style, const QString& title)
    {
        return dialogs.messageBox(nullptr, text.toStdString(), style, title.toStdString());
    }
    QString inputBox(std::nullptr_t, const QString& prompt, const QString& title)
    {
        return QString::fromStdString(dialogs.inputBox(nullptr, prompt.toStdString(), title.toStdString()));
    }
};

}  // namespace

class ItalianDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void theQuestionAsksSiOrNoWithNoAsTheDefault();
    void theNoticesHaveAnOkButtonAndTheirIcon();
    void theInputBoxGivesTheTypedNameOrNothingWhenCancelled();
    void theWindowBuiltWhileTheNameIsTypedLeavesTheTypingInThePrompt();

private:
    QTranslator translator_;
    QtDialogs dialogs_;
};

void ItalianDialogs::initTestCase()
{
    const QString missing = brivana::window::InstallItalianTranslations(*qApp, translator_);
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
}

void ItalianDialogs::theQuestionAsksSiOrNoWithNoAsTheDefault()
{
    QStringList buttons;
    QString title;
    WhenOpen([&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        buttons = ButtonTexts(box);
        title = box.windowTitle();
        QCOMPARE(box.icon(), QMessageBox::Question);
        QCOMPARE(box.defaultButton(), box.button(QMessageBox::No));
        QTest::keyClick(&box, Qt::Key_Return);
    });
    QCOMPARE(InQString(dialogs_).messageBox(nullptr, QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"), 292,
                                 QStringLiteral("INIZIARE NUOVA GARA")),
             MsgAnswer::no);
    QCOMPARE(buttons, QStringList({"No", "Sì"}));
    QCOMPARE(title, QStringLiteral("INIZIARE NUOVA GARA"));

    WhenOpen([](QDialog& dialog) { static_cast<QMessageBox&>(dialog).button(QMessageBox::Yes)->click(); });
    QCOMPARE(InQString(dialogs_).messageBox(nullptr, QStringLiteral("?"), 292, QStringLiteral("Brivana")), MsgAnswer::yes);

    WhenOpen([](QDialog& dialog) { dialog.close(); });
    QCOMPARE(InQString(dialogs_).messageBox(nullptr, QStringLiteral("?"), 292, QStringLiteral("Brivana")), MsgAnswer::no);
}

void ItalianDialogs::theNoticesHaveAnOkButtonAndTheirIcon()
{
    for (const auto& [style, icon] : {std::pair{0, QMessageBox::NoIcon}, std::pair{48, QMessageBox::Warning}}) {
        QStringList buttons;
        QMessageBox::Icon shownIcon = QMessageBox::Critical;
        const QString title = QStringLiteral("Sei pronto per il record? Buona fortuna");
        int width = 0, titleWidth = 0;
        WhenOpen([&](QDialog& dialog) {
            buttons = ButtonTexts(dialog);
            shownIcon = static_cast<QMessageBox&>(dialog).icon();
            QFont bold = dialog.font();
            bold.setBold(true);
            width = dialog.width();
            titleWidth = QFontMetrics(bold).horizontalAdvance(title);
            dialog.accept();
        });
        QCOMPARE(InQString(dialogs_).messageBox(nullptr, QStringLiteral("E' record"), style, title), MsgAnswer::ok);
        // A short text still leaves room for the whole title beside the window manager's buttons.
        QVERIFY2(width >= titleWidth + 100, qPrintable(QStringLiteral("%1 < %2 + 100").arg(width).arg(titleWidth)));
        QCOMPARE(buttons, QStringList({"OK"}));
        QCOMPARE(shownIcon, icon);
    }

    // A pupil's name goes into messages as typed, never read as markup.
    const QString markup = QStringLiteral("Ciao <b>Ada</b>, alla prossima sfida!");
    int shownWidth = 0;
    int markupWidth = 0;
    WhenOpen([&](QDialog& dialog) {
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        shownWidth = label->sizeHint().width();
        markupWidth = label->fontMetrics().horizontalAdvance(markup);
        dialog.accept();
    });
    InQString(dialogs_).messageBox(nullptr, markup, 0, QStringLiteral("Data"));
    QVERIFY(shownWidth >= markupWidth);

    // A long name wraps inside the box instead of being cut off.
    bool whole = false;
    WhenOpen([&](QDialog& dialog) {
        const auto* label = dialog.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        whole = label->minimumSizeHint().width() <= label->width();
        dialog.accept();
    });
    InQString(dialogs_).messageBox(nullptr, QStringLiteral("Ciao %1, alla prossima sfida!").arg(QString(260, QLatin1Char('W'))), 0,
                        QStringLiteral("Data"));
    QVERIFY(whole);
}

void ItalianDialogs::theInputBoxGivesTheTypedNameOrNothingWhenCancelled()
{
    const QString title = QStringLiteral("Gioca con il prodotto di numeri relativi");
    const QString longName = QStringLiteral("Maria Margherita Annunziata Brambilla");
    QStringList buttons;
    QString prompt;
    QString shownTitle;
    int width = 0, titleWidth = 0, editWidth = 0, nameWidth = 0;
    bool empty = false;
    WhenOpen([&](QDialog& dialog) {
        auto& input = static_cast<QInputDialog&>(dialog);
        buttons = ButtonTexts(input);
        prompt = input.labelText();
        shownTitle = input.windowTitle();
        QFont bold = input.font();
        bold.setBold(true);
        width = input.width();
        titleWidth = QFontMetrics(bold).horizontalAdvance(title);
        auto* edit = input.findChild<QLineEdit*>();
        editWidth = edit->width();
        nameWidth = edit->fontMetrics().horizontalAdvance(longName);
        empty = input.textValue().isEmpty();
        QTest::keyClicks(edit, QStringLiteral("Ada"));
        edit->insert(QString(300, u'x'));  // pasted: the box stops where a record's name does
        QTest::keyClick(&input, Qt::Key_Return);
    });
    QCOMPARE(InQString(dialogs_).inputBox(nullptr, QStringLiteral("Come ti chiami?"), title),
             QStringLiteral("Ada") + QString(252, u'x'));
    QCOMPARE(buttons, QStringList({"Annulla", "OK"}));
    QCOMPARE(prompt, QStringLiteral("Come ti chiami?"));
    QCOMPARE(shownTitle, title);
    QVERIFY(empty);
    // Room for the whole title in a bold title bar, beside the window manager's buttons, and
    // for a long name.
    QVERIFY2(width >= titleWidth + 100, qPrintable(QStringLiteral("%1 < %2 + 100").arg(width).arg(titleWidth)));
    QVERIFY(editWidth >= nameWidth);

    WhenOpen([](QDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>(), QStringLiteral("Bea"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QCOMPARE(InQString(dialogs_).inputBox(nullptr, QStringLiteral("Come ti chiami?"), QStringLiteral("Gioca")), QString());
}

void ItalianDialogs::theWindowBuiltWhileTheNameIsTypedLeavesTheTypingInThePrompt()
{
    brivana::testing::TempDir records;
    brivana::SystemRandom random;
    brivana::testing::FixedDateTime dateTime;
    brivana::testing::FixedRecordPlace place(records.recordDir());
    brivana::SystemFileAccess files;
    brivana::testing::FixedRegisterStamps stamps;
    brivana::LocalRecordKeeper keeper(files, stamps);
    brivana::Tavola tavola({random, dateTime, place, keeper}, dialogs_);
    WhenOpen([&](QDialog& prompt) {
        // The game's controls are built behind the open prompt; the keys still go to the prompt.
        QTRY_VERIFY(tavola.findChild<brivana::window::Surface*>() != nullptr);
        QTRY_COMPARE(QApplication::focusWidget(), prompt.findChild<QLineEdit*>());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ada"));
        WhenOpen([](QDialog& greeting) { greeting.accept(); });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    tavola.start();
    QCOMPARE(tavola.text(brivana::Field::lblnome1), std::string("Ada"));
    tavola.protocol().endProgram();
}

BRIVANA_WINDOW_TEST_MAIN(ItalianDialogs)
#include "italian_dialogs_test.moc"
