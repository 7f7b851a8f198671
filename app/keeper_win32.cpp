// brivana-keeper.exe: the record service of the installed game on Windows. Started by Windows
// as a service, it alone writes the shared record folder and answers games on the record pipe.
// "install" and "uninstall", run by the installer as an administrator, register and remove it.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "app/keeper_setup_win32.h"
#include "system/owned_handle_windows.h"
#include "system/record_pipe_windows.h"
#include "system/register_security_windows.h"
#include "system/wide_text_windows.h"
#include "system/windows_directory.h"

namespace {

// What the service's control handler shares with its main.
struct ServiceRun {
    SERVICE_STATUS_HANDLE handle = nullptr;
    HANDLE stop = nullptr;
    std::mutex statusMutex;
    SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, SERVICE_START_PENDING, 0, NO_ERROR, 0, 0, 3000};

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
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

// Why the service stopped, in the Application log for the administrator.
void Log(const std::string& why)
{
    const HANDLE source = RegisterEventSourceW(nullptr, brivana::kRecordServiceName);
    if (!source) return;
    const std::wstring text = brivana::Wide(why);
    const wchar_t* strings[] = {text.c_str()};
    ReportEventW(source, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 1, 0, strings, nullptr);
    DeregisterEventSource(source);
}

void WINAPI ServiceMain(DWORD, LPWSTR*)
{
    ServiceRun run;
    run.stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    run.handle = RegisterServiceCtrlHandlerExW(brivana::kRecordServiceName, Control, &run);
    if (!run.handle || !run.stop) return;
    const std::string dir = brivana::InstalledRecordDirectory();
    run.report(SERVICE_RUNNING);
    const std::string why = dir.empty() ? "Windows non indica la cartella ProgramData."
                                        : brivana::ServeRecordPipe(brivana::InstalledRecordPipe(), dir, {}, run.stop,
                                                                   brivana::TeachersSidOfCommandLine());
    if (!why.empty()) Log(why);
    run.report(SERVICE_STOPPED, why.empty() ? 0 : 1);
    CloseHandle(run.stop);
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
    const bool install = (argc == 2 || argc == 3) && std::strcmp(argv[1], "install") == 0;
    if (install || (argc == 2 && std::strcmp(argv[1], "uninstall") == 0)) {
        const std::string why = install ? brivana::InstallRecordService(argc == 3 ? UnicodeArgument(2) : "")
                                        : brivana::RemoveRecordService();
        if (!why.empty()) std::fprintf(stderr, "%s\n", why.c_str());
        return why.empty() ? 0 : 1;
    }
    wchar_t name[] = L"BrivanaKeeper";
    const SERVICE_TABLE_ENTRYW services[] = {{name, ServiceMain}, {nullptr, nullptr}};
    if (StartServiceCtrlDispatcherW(services)) return 0;
    std::fputs("brivana-keeper è il servizio che custodisce il record di Brivana: lo avvia Windows.\n"
               "  brivana-keeper install [GRUPPO]  lo registra e lo avvia (da amministratore); i membri\n"
               "                   del GRUPPO dei docenti leggono il registro delle partite\n"
               "  brivana-keeper uninstall  lo ferma e lo rimuove; il record resta\n",
               stderr);
    return 2;
}
