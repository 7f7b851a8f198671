#include "app/keeper_setup_win32.h"

#include <windows.h>

#include <chrono>
#include <cwctype>
#include <string>
#include <thread>

#include "system/owned_handle_windows.h"
#include "system/record_pipe_windows.h"
#include "system/record_security_windows.h"
#include "system/register_security_windows.h"
#include "system/server_account_windows.h"
#include "system/system_record_place.h"
#include "system/wide_text_windows.h"
#include "system/windows_directory.h"

namespace brivana {

namespace {

using Clock = std::chrono::steady_clock;

// How long the installer keeps trying while Windows holds the service database locked (as it
// does while it starts services itself, right after the system starts), the service is still
// starting or does not stay up: long enough for a slow start on a busy computer, short enough
// for a teacher waiting at the screen. Stopping gets as long.
constexpr auto kRetryWait = std::chrono::seconds(90);
constexpr auto kRetryPause = std::chrono::milliseconds(500);
constexpr const wchar_t* kDisplayName = L"Brivana: custode del record";
// Not a Windows error: the service started, then stopped by itself.
constexpr DWORD kStoppedAtOnce = 0xFFFFFFFF;

// The file server's account given by the installer, which passes it in the environment rather
// than on a command line; empty when none was given.
std::string FromInstaller(const wchar_t* name)
{
    std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    if (value.empty()) return {};
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return Utf8(value);
}

// Windows' own words for error, in the language of the system.
std::string WindowsText(DWORD error)
{
    LPWSTR text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const OwnedLocal<LPWSTR> owned(text);
    std::wstring words(text ? text : L"", length);
    while (!words.empty() && (std::iswspace(words.back()) || words.back() == L'.')) words.pop_back();
    return Utf8(words);
}

// What went wrong, and what the teacher can do about it.
struct Explanation {
    std::string why;
    std::string todo = "Riavvia il computer e ripeti l'installazione";
};

Explanation Explained(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return {"Windows non lo permette a questo utente", "Ripeti l'installazione come amministratore"};
    case ERROR_SERVICE_DATABASE_LOCKED:
        return {"Windows ha tenuto bloccato l'elenco dei servizi per un minuto e mezzo, di solito perché sta ancora "
                "avviando altri programmi"};
    case ERROR_SERVICE_REQUEST_TIMEOUT:
        return {"non ha risposto entro un minuto e mezzo"};
    case ERROR_SERVICE_DISABLED:
        return {"è disattivato", "Nella finestra Servizi di Windows imposta «Brivana: custode del record» su "
                                 "Automatico e avvialo"};
    case ERROR_SERVICE_MARKED_FOR_DELETE:
        return {"Windows sta ancora rimuovendo quello di un'installazione precedente",
                "Chiudi la finestra Servizi, se è aperta, poi riavvia il computer e ripeti l'installazione"};
    case ERROR_SERVICE_LOGON_FAILED:
        return {"Windows non è riuscito ad avviarlo con il suo account, NT SERVICE\\BrivanaKeeper"};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {"il suo programma, brivana-keeper.exe, non è più nella cartella di Brivana", "Ripeti l'installazione"};
    case kStoppedAtOnce:
        return {"si è fermato subito dopo l'avvio; il motivo è nel Visualizzatore eventi (registro Applicazione, "
                "origine BrivanaKeeper)",
                "Rimedia a quello e ripeti l'installazione"};
    default:
        break;
    }
    const std::string words = WindowsText(error);
    return {(words.empty() ? "Windows non sa dire perché" : "Windows risponde «" + words + "»") + " (codice " +
            std::to_string(error) + ")"};
}

// action comes with its preposition ("ad avviare", "a registrare"), as Italian wants it.
std::string Failed(const std::string& action, DWORD error = GetLastError())
{
    const Explanation explanation = Explained(error);
    return "Non riesco " + action + " il servizio che custodisce il record (BrivanaKeeper): " + explanation.why +
           ". " + explanation.todo + ".";
}

// Calls call again while Windows keeps the service database locked, for at most kRetryWait;
// its last result, with GetLastError() telling why when it failed.
template <typename Call>
auto UnlessLocked(Call call)
{
    const auto deadline = Clock::now() + kRetryWait;
    for (;;) {
        auto result = call();
        if (result || GetLastError() != ERROR_SERVICE_DATABASE_LOCKED || Clock::now() > deadline) return result;
        std::this_thread::sleep_for(kRetryPause);
    }
}

// Waits while the service moves towards a state; the state it settles in, or SERVICE_*_PENDING
// when it is still moving at the deadline.
DWORD AwaitSettled(SC_HANDLE service, Clock::time_point deadline)
{
    SERVICE_STATUS status{};
    while (QueryServiceStatus(service, &status) && (status.dwCurrentState == SERVICE_START_PENDING ||
                                                     status.dwCurrentState == SERVICE_STOP_PENDING)) {
        if (Clock::now() > deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return status.dwCurrentState;
}

// Starts the service and waits until it runs. A start that Windows refuses for a while (its
// database locked, the service still stopping or slow to answer) or that the service does not
// survive is tried again until kRetryWait has passed. Empty when it runs, otherwise why not.
std::string Start(SC_HANDLE service)
{
    const auto deadline = Clock::now() + kRetryWait;
    for (;;) {
        DWORD error = ERROR_SUCCESS;
        if (StartServiceW(service, 0, nullptr) || (error = GetLastError()) == ERROR_SERVICE_ALREADY_RUNNING) {
            const DWORD state = AwaitSettled(service, deadline);
            if (state == SERVICE_RUNNING) return {};
            error = state == SERVICE_STOPPED ? kStoppedAtOnce : ERROR_SERVICE_REQUEST_TIMEOUT;
        }
        // Windows gives up on a start after half a minute without an answer from the service's
        // process, which a busy computer that has just started may well take.
        const bool passing = error == ERROR_SERVICE_DATABASE_LOCKED || error == ERROR_SERVICE_CANNOT_ACCEPT_CTRL ||
                             error == ERROR_SERVICE_REQUEST_TIMEOUT || error == kStoppedAtOnce;
        if (!passing || Clock::now() > deadline) return Failed("ad avviare", error);
        std::this_thread::sleep_for(kRetryPause);
    }
}

// The restrictions Windows can put on the service: only the privilege every process has, and a
// restart after a crash. A Windows that does not know a setting runs the service without it.
std::string Restrict(SC_HANDLE service)
{
    wchar_t description[] = L"Custodisce il record di Brivana nella cartella comune: solo questo servizio può scriverla.";
    SERVICE_DESCRIPTIONW about{description};
    wchar_t privileges[] = L"SeChangeNotifyPrivilege\0";
    SERVICE_REQUIRED_PRIVILEGES_INFOW required{privileges};
    SC_ACTION restart[2] = {{SC_ACTION_RESTART, 5000}, {SC_ACTION_RESTART, 60000}};
    SERVICE_FAILURE_ACTIONSW onFailure{86400, nullptr, nullptr, 2, restart};
    const std::pair<DWORD, void*> settings[] = {{SERVICE_CONFIG_DESCRIPTION, &about},
                                                {SERVICE_CONFIG_REQUIRED_PRIVILEGES_INFO, &required},
                                                {SERVICE_CONFIG_FAILURE_ACTIONS, &onFailure}};
    for (const auto& [level, setting] : settings)
        if (!UnlessLocked([&] { return ChangeServiceConfig2W(service, level, setting); }) &&
            GetLastError() != ERROR_INVALID_LEVEL)
            return Failed("a configurare");
    return {};
}

}  // namespace

std::string InstallRecordService(const std::string& teachersGroup)
{
    // The teachers read the register; without a group named, the administrators alone do.
    const std::string teachersSid = teachersGroup.empty() ? kAdministratorsSid : AccountSid(teachersGroup);
    if (teachersSid.empty())
        return "Il gruppo dei docenti \"" + teachersGroup + "\" non esiste su questo computer né nel suo dominio.";
    const std::string dir = InstalledRecordDirectory();
    if (dir.empty()) return "Windows non indica la cartella ProgramData: non so dove tenere il record.";
    if (std::string problem = MakeFolder(dir); !problem.empty()) return problem;
    if (std::string problem = SecureRecordFolder(dir, RecordFolderSddl(ServiceSid(kRecordServiceName)));
        !problem.empty())
        return problem;
    if (const std::string user = FromInstaller(L"BRIVANA_SERVER_USER"); !user.empty())
        if (std::string problem = KeepServerAccount(dir, user, FromInstaller(L"BRIVANA_SERVER_PASSWORD"));
            !problem.empty())
            return problem;

    std::wstring program(MAX_PATH, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
    if (program.empty()) return Failed("a registrare");
    const std::wstring command = L"\"" + program + L"\" --docenti=" + Wide(teachersSid);
    const std::wstring account = std::wstring(L"NT SERVICE\\") + kRecordServiceName;

    const OwnedService manager = UnlessLocked(
        [] { return OwnedService(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE)); });
    if (!manager) return Failed("a registrare");
    OwnedService service = UnlessLocked([&] {
        return OwnedService(CreateServiceW(manager.get(), kRecordServiceName, kDisplayName, SERVICE_ALL_ACCESS,
                                           SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                           command.c_str(), nullptr, nullptr, nullptr, account.c_str(), nullptr));
    });
    // Installed again over an earlier installation: the same service, brought up to date.
    const bool existed = !service && GetLastError() == ERROR_SERVICE_EXISTS;
    if (existed) service = OwnedService(OpenServiceW(manager.get(), kRecordServiceName, SERVICE_ALL_ACCESS));
    if (!service) return Failed("a registrare");
    if (existed && !UnlessLocked([&] {
            return ChangeServiceConfigW(service.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                        SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
                                        account.c_str(), nullptr, kDisplayName);
        }))
        return Failed("ad aggiornare");
    if (std::string problem = Restrict(service.get()); !problem.empty()) return problem;
    return Start(service.get());
}

std::string RemoveRecordService()
{
    // The file server's password does not outlive the game on this computer; the record stays.
    if (const std::string dir = InstalledRecordDirectory(); !dir.empty())
        DeleteFileW(Wide(dir + kServerAccountFileName).c_str());
    const OwnedService manager =
        UnlessLocked([] { return OwnedService(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT)); });
    if (!manager) return Failed("a rimuovere");
    const OwnedService service(
        OpenServiceW(manager.get(), kRecordServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
    if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? std::string() : Failed("a rimuovere");
    SERVICE_STATUS status{};
    if (!UnlessLocked([&] { return ControlService(service.get(), SERVICE_CONTROL_STOP, &status); }) &&
        GetLastError() != ERROR_SERVICE_NOT_ACTIVE)
        return Failed("a fermare");
    if (AwaitSettled(service.get(), Clock::now() + kRetryWait) != SERVICE_STOPPED) return Failed("a fermare", ERROR_SERVICE_REQUEST_TIMEOUT);
    if (!DeleteService(service.get())) return Failed("a rimuovere");
    return {};
}

}  // namespace brivana
