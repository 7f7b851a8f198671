#include "window/application_setup.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

#include "window/italian_translations.h"
#include "window/version.h"

namespace brivana::window {

void SetUpApplication(QApplication& app, QTranslator& translator)
{
    QApplication::setApplicationName(QStringLiteral("Brivana"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Brivana"));
    // The game ends the program itself, after its farewell.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString missing = InstallItalianTranslations(app, translator);
    if (!missing.isEmpty()) QMessageBox::warning(nullptr, QStringLiteral("Brivana"), missing);
}

}  // namespace brivana::window
