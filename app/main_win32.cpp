// Starts Brivana on Windows: the real services and the window, then the message loop. With
// --registro, the teacher's register instead of a game.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/teacher_register.h"
#include "game/record_store.h"
#include "system/lab_setting.h"
#include "system/owned_handle_windows.h"
#include "system/register_stamps.h"
#include "system/system_file_access.h"
#include "system/record_pipe_windows.h"
#include "system/system_record_place.h"
#include "system/system_date_time.h"
#include "system/system_random.h"
#include "system/wide_text_windows.h"
#include "win32/system_dialogs.h"
#include "win32/tavola.h"

namespace {

// The command line's arguments after the program's name, in UTF-8.
std::vector<std::string> Arguments()
{
    int count = 0;
    const brivana::Owned<LPWSTR*, LocalFree> words(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; words && i < count; ++i) arguments.push_back(brivana::Utf8(words.get()[i]));
    return arguments;
}

// How the teacher runs the clearing of a school year: this program, by its full path.
std::string ClearCommand()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return "brivana.exe --registro --cancella";
        if (length < path.size()) {
            std::string command = "\"";
            command += brivana::Utf8(std::wstring_view(path.data(), length));
            command += "\" --registro --cancella";
            return command;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    brivana::SystemRandom random;
    brivana::SystemDateTime dateTime;
    brivana::SystemFileAccess files;
    brivana::SystemRegisterStamps stamps;
    brivana::LocalRecordKeeper ownRecords(files, stamps);
    // Where the record service runs, the shared folder is its alone: the game asks it there.
    const std::unique_ptr<brivana::RecordPipeClient> service =
        brivana::RecordPipeClient::Find(brivana::InstalledRecordPipe(), brivana::SharedRecordDirectory(), ownRecords);
    std::unique_ptr<brivana::SystemRecordPlace> recordPlace;
    if (service)
        recordPlace = std::make_unique<brivana::SystemRecordPlace>(
            brivana::SharedRecordDirectory(), brivana::UserRecordDirectory(),
            [&service](const std::string& dir) { return service->canKeepShared(dir); },
            !brivana::LabRecordDirectory().empty());
    else
        recordPlace = std::make_unique<brivana::SystemRecordPlace>();
    brivana::RecordKeeper& records = service ? static_cast<brivana::RecordKeeper&>(*service) : ownRecords;
    brivana::win32::SystemDialogs dialogs;
    const std::vector<std::string> arguments = Arguments();
    if (brivana::AsksForRegister(arguments)) {
        // With a lab folder the register is the lab's, on the school's server, beside the class record.
        const std::string recordDir = recordPlace->locate().dir;
        const std::string lab = brivana::LabRecordDirectory();
        brivana::RegisterCommandServices services{recordDir, lab.empty() ? recordDir : lab, ClearCommand(), dialogs,
                                                  records};
        return brivana::RunRegisterCommand(arguments, services);
    }
    brivana::win32::Tavola tavola({random, dateTime, *recordPlace, records}, dialogs, [] { PostQuitMessage(0); });
    tavola.start();
    MSG message;
    while (!tavola.hasEnded() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (tavola.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
