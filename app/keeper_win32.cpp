// brivana-keeper.exe: the record service of the installed game on Windows. Started by Windows
// as a service, it alone writes the shared record folder and answers games on the record pipe.
// "install" and "uninstall", run by the installer as an administrator, register and remove it.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "app/keeper_check_win32.h"
#include "app/keeper_setup_win32.h"
#include "system/lab_setting.h"
#include "system/owned_handle_windows.h"
#include "system/record_pipe_windows.h"
#include "system/record_security_windows.h"
#include "system/register_security_windows.h"
#include "system/server_account_windows.h"
#include "system/wide_text_windows.h"
#include "system/windows_directory.h"

namespace {

// What the service's control handler shares with its main.
struct ServiceRun {
    SERVICE_STATUS_HANDLE handle = nullptr;
    HANDLE stop = nullptr;
    std::mutex statusMutex;
    SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, SERVICE_START_PENDING, 0, NO_ERROR, 0, 0, 3000};
    // Where the record is kept, for the administrator's check.
    std::string own, lab, settingProblem;

    void report(DWORD state, DWORD specificError = 0)
    {
        const std::lock_guard lock(statusMutex);
        status.dwCurrentState = state;
        status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
        status.dwWin32ExitCode = specificError ? ERROR_SERVICE_SPECIFIC_ERROR : NO_ERROR;
        status.dwServiceSpecificExitCode = specificError;
        SetServiceStatus(handle, &status);
    }
};

DWORD WINAPI Control(DWORD control, DWORD, void*, void* context)
{
    auto& run = *static_cast<ServiceRun*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        run.report(SERVICE_STOP_PENDING);
        SetEvent(run.stop);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    case brivana::kRecordCheckControl:
        // Off the control thread: a server that hangs holds up only the check.
        std::thread(brivana::WriteRecordCheck, run.own, run.lab, run.settingProblem).detach();
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

// Why the service stopped, in the Application log for the administrator.
void Log(const std::string& why)
{
    const brivana::OwnedEventSource source(RegisterEventSourceW(nullptr, brivana::kRecordServiceName));
    if (!source) return;
    const std::wstring text = brivana::Wide(why);
    const wchar_t* strings[] = {text.c_str()};
    ReportEventW(source.get(), EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 1, 0, strings, nullptr);
}

// Why install or uninstall failed, on the standard error in UTF-16, which the installer's
// nsExec recognises as such, so that the teacher reads the accented letters.
void TellInstaller(const std::string& why)
{
    const std::wstring text = brivana::Wide(why) + L"\r\n";
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(error, &mode))
        WriteConsoleW(error, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    else
        WriteFile(error, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
}

void WINAPI ServiceMain(DWORD, LPWSTR*)
{
    const brivana::OwnedKernel stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ServiceRun run;
    run.stop = stop.get();
    run.handle = RegisterServiceCtrlHandlerExW(brivana::kRecordServiceName, Control, &run);
    if (!run.handle || !run.stop) return;
    const std::string dir = brivana::InstalledRecordDirectory();
    // A folder opened by hand since the installation is closed again before any game is served;
    // the games are served all the same, and the administrator reads why it could not be.
    if (!dir.empty()) {
        const std::string open = brivana::SecureRecordFolder(
            dir, brivana::RecordFolderAccessSddl(brivana::ServiceSid(brivana::kRecordServiceName)));
        if (!open.empty()) Log("La cartella del record resta aperta agli altri utenti: " + open);
    }
    // The lab's folder on the school's server, where the administrator set one; a setting that
    // cannot be followed is logged, and the record stays on this computer.
    std::string settingProblem;
    const std::string lab = brivana::LabRecordDirectory(settingProblem);
    if (!settingProblem.empty()) Log(settingProblem);
    run.own = dir;
    run.lab = lab;
    run.settingProblem = settingProblem;
    // Without a domain, the file server's account the installer gave; the games say it when the
    // server still cannot be reached.
    if (!lab.empty() && !dir.empty())
        if (const std::string problem = brivana::ConnectWithServerAccount(dir, lab); !problem.empty()) Log(problem);
    run.report(SERVICE_RUNNING);
    const std::string why = dir.empty() ? "Windows non indica la cartella ProgramData."
                                        : brivana::ServeRecordPipe(brivana::InstalledRecordPipe(), {dir, lab}, {},
                                                                   run.stop, brivana::TeachersSidOfCommandLine());
    if (!why.empty()) Log(why);
    run.report(SERVICE_STOPPED, why.empty() ? 0 : 1);
}

// The command line's argument at index as typed, accents and all (argv has the system's code page).
std::string UnicodeArgument(int index)
{
    int count = 0;
    const brivana::Owned<LPWSTR*, LocalFree> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    return arguments && index < count ? brivana::Utf8(arguments.get()[index]) : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "verifica") == 0) return brivana::AskRecordCheck();
    const bool install = (argc == 2 || argc == 3) && std::strcmp(argv[1], "install") == 0;
    if (install || (argc == 2 && std::strcmp(argv[1], "uninstall") == 0)) {
        const std::string why = install ? brivana::InstallRecordService(argc == 3 ? UnicodeArgument(2) : "")
                                        : brivana::RemoveRecordService();
        if (!why.empty()) TellInstaller(why);
        return why.empty() ? 0 : 1;
    }
    wchar_t name[] = L"BrivanaKeeper";
    const SERVICE_TABLE_ENTRYW services[] = {{name, ServiceMain}, {nullptr, nullptr}};
    if (StartServiceCtrlDispatcherW(services)) return 0;
    std::fputs("brivana-keeper è il servizio che custodisce il record di Brivana: lo avvia Windows.\n"
               "  brivana-keeper install [GRUPPO]  lo registra e lo avvia (da amministratore); i membri\n"
               "                   del GRUPPO dei docenti leggono il registro delle partite\n"
               "  brivana-keeper uninstall  lo ferma e lo rimuove; il record resta\n"
               "  brivana-keeper verifica   dice dove il servizio tiene il record e se può leggerlo e scriverlo\n",
               stderr);
    return 2;
}
