// Starts Brivana: the record keeper split off, the application, the real services and the
// window, then the event loop. With --registro, the teacher's register instead of a game.
#include <QApplication>
#include <QTranslator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/teacher_register.h"
#include "game/record_store.h"
#include "system/register_stamps.h"
#include "system/system_file_access.h"
#include "system/lab_setting.h"
#include "system/record_check.h"
#include "system/record_keeper_process.h"
#include "system/system_record_place.h"
#include "system/system_date_time.h"
#include "system/system_random.h"
#include "window/application_setup.h"
#include "window/qt_dialogs.h"
#include "window/tavola.h"

int main(int argc, char* argv[])
{
    // The administrator's check, with the keeper's identity: it ends the program.
    if (argc == 2 && std::string_view(argv[1]) == "--verifica-record") return brivana::CheckRecordPlace();
    // First of all, while this process may still hold the installed game's rights: after this
    // it holds only the player's own, and Qt never sees any other.
    brivana::SystemFileAccess files;
    brivana::SystemRegisterStamps stamps;
    brivana::LocalRecordKeeper ownRecords(files, stamps);
    const std::unique_ptr<brivana::KeeperConnection> keeper = brivana::SplitOffRecordKeeper(ownRecords);

    QApplication app(argc, argv);
    QTranslator translator;
    brivana::window::SetUpApplication(app, translator);

    brivana::SystemRandom random;
    brivana::SystemDateTime dateTime;
    std::unique_ptr<brivana::SystemRecordPlace> recordPlace;
    if (keeper)
        recordPlace = std::make_unique<brivana::SystemRecordPlace>(
            brivana::SharedRecordDirectory(), brivana::UserRecordDirectory(),
            [&keeper](const std::string& dir) { return keeper->canKeepShared(dir); },
            !brivana::LabRecordDirectory().empty());
    else
        recordPlace = std::make_unique<brivana::SystemRecordPlace>();
    brivana::RecordKeeper& records = keeper ? static_cast<brivana::RecordKeeper&>(*keeper) : ownRecords;
    brivana::window::QtDialogs dialogs;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (brivana::AsksForRegister(arguments)) {
        // Read with the teacher's own rights: the keeper's are never lent to it.
        // With a lab folder the register is the lab's, on the school's server, beside the class record.
        const std::string recordDir = recordPlace->locate().dir;
        const std::string lab = brivana::LabRecordDirectory();
        brivana::RegisterCommandServices services{recordDir, lab.empty() ? recordDir : lab,
                                                  "brivana --registro --cancella", dialogs, records};
        return brivana::RunRegisterCommand(arguments, services);
    }
    brivana::Tavola tavola({random, dateTime, *recordPlace, records}, dialogs);
    QObject::connect(&tavola, &brivana::Tavola::gameEnded, &app, [] { QCoreApplication::exit(0); });
    // The first game starts at once, its name prompt before anything else: the event loop's
    // own set-up (the accessibility bridge looking for its bus) waits until the first question.
    tavola.start();
    return tavola.hasEnded() ? 0 : QApplication::exec();
}
