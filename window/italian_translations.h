#pragma once
// Qt's own Italian translations, so that dialog buttons read "Sì", "No", "OK" and "Annulla"
// whatever the system's language.

#include <QString>

class QCoreApplication;
class QTranslator;

namespace brivana::window {

// Loads qtbase_it into translator and installs it in app. Returns an Italian explanation for
// the player when the translations cannot be found, or an empty text.
QString InstallItalianTranslations(QCoreApplication& app, QTranslator& translator);

}  // namespace brivana::window
