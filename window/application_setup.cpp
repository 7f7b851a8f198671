#include "window/application_setup.h"

#include <QApplication>
#include <QIcon>
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
    // Outside a desktop that names its own icon theme, Qt asks "hicolor", which holds the
    // applications' own icons and none of the stock ones its dialogs want (OK, Annulla, the
    // message icons). Each vain search walked every folder of it, some 20 ms before the name
    // prompt; the dialogs end up with Qt's built-in pictures either way.
    if (QIcon::themeName() == QLatin1String("hicolor")) {
        QIcon::setThemeSearchPaths({QStringLiteral(":/icons")});
        QIcon::setFallbackSearchPaths({});
    }

    const QString missing = InstallItalianTranslations(app, translator);
    if (!missing.isEmpty()) QMessageBox::warning(nullptr, QStringLiteral("Brivana"), missing);
}

}  // namespace brivana::window
