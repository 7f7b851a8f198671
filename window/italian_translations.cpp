#include "window/italian_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace brivana::window {

QString InstallItalianTranslations(QCoreApplication& app, QTranslator& translator)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator.load(QStringLiteral("qtbase_it"), dir))
        return QStringLiteral("Non trovo le traduzioni italiane di Qt (qtbase_it.qm in %1): "
                              "i pulsanti delle finestre potrebbero comparire in inglese.")
            .arg(QDir::toNativeSeparators(dir));
    app.installTranslator(&translator);
    return {};
}

}  // namespace brivana::window
