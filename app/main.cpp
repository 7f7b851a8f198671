// Starts Brivana: the application, the real services and the window, then the event loop.
#include <QApplication>
#include <QTranslator>

#include "game/system_date_time.h"
#include "game/system_file_access.h"
#include "game/system_random.h"
#include "game/system_record_place.h"
#include "window/application_setup.h"
#include "window/qt_dialogs.h"
#include "window/tavola.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    brivana::window::SetUpApplication(app, translator);

    brivana::SystemRandom random;
    brivana::SystemDateTime dateTime;
    brivana::SystemRecordPlace recordPlace;
    brivana::SystemFileAccess files;
    brivana::window::QtDialogs dialogs;
    brivana::Tavola tavola({random, dateTime, recordPlace, files}, dialogs);
    QObject::connect(&tavola, &brivana::Tavola::ended, &app, [] { QCoreApplication::exit(0); });
    // The first game starts at once, its name prompt before anything else: the event loop's
    // own set-up (the accessibility bridge looking for its bus) waits until the first question.
    tavola.start();
    return tavola.hasEnded() ? 0 : QApplication::exec();
}
