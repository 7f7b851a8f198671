#include "app/keeper_setup_win32.h"

#include <windows.h>

#include <chrono>
#include <thread>

#include "system/error_text.h"
#include "system/record_pipe_windows.h"
#include "system/system_record_place.h"
#include "system/record_security_windows.h"
#include "system/register_security_windows.h"
#include "system/wide_text_windows.h"
#include "system/windows_directory.h"

namespace brivana {

namespace {

constexpr auto kStateWait = std::chrono::seconds(15);
constexpr const wchar_t* kDisplayName = L"Brivana: custode del record";

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle() { if (handle_) CloseServiceHandle(handle_); }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

std::string Failed(const std::string& action, DWORD error = GetLastError())
{
    return "Non riesco a " + action + " il servizio del record: " + SystemErrorText(static_cast<int>(error)) + ".";
}

// Waits until the service is in state; false when it settles in another one or takes too long.
bool AwaitState(SC_HANDLE service, DWORD state)
{
    const auto deadline = std::chrono::steady_clock::now() + kStateWait;
    SERVICE_STATUS status{};
    while (QueryServiceStatus(service, &status) && status.dwCurrentState != state) {
        const bool moving = status.dwCurrentState == SERVICE_START_PENDING ||
                            status.dwCurrentState == SERVICE_STOP_PENDING;
        if ((!moving && state == SERVICE_RUNNING) || std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return status.dwCurrentState == state;
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
        if (!ChangeServiceConfig2W(service, level, setting) && GetLastError() != ERROR_INVALID_LEVEL)
            return Failed("configurare");
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

    std::wstring program(MAX_PATH, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
    if (program.empty()) return Failed("registrare");
    const std::wstring command = L"\"" + program + L"\" --docenti=" + Wide(teachersSid);
    const std::wstring account = std::wstring(L"NT SERVICE\\") + kRecordServiceName;

    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager.get()) return Failed("registrare");
    const SC_HANDLE created = CreateServiceW(manager.get(), kRecordServiceName, kDisplayName, SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                             command.c_str(), nullptr, nullptr, nullptr, account.c_str(), nullptr);
    // Installed again over an earlier installation: the same service, brought up to date.
    const bool existed = !created && GetLastError() == ERROR_SERVICE_EXISTS;
    const ServiceHandle service(existed ? OpenServiceW(manager.get(), kRecordServiceName, SERVICE_ALL_ACCESS) : created);
    if (!service.get()) return Failed("registrare");
    if (existed && !ChangeServiceConfigW(service.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                         SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
                                         account.c_str(), nullptr, kDisplayName))
        return Failed("aggiornare");
    if (std::string problem = Restrict(service.get()); !problem.empty()) return problem;
    if (!StartServiceW(service.get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
        return Failed("avviare");
    if (!AwaitState(service.get(), SERVICE_RUNNING)) return Failed("avviare", ERROR_SERVICE_REQUEST_TIMEOUT);
    return {};
}

std::string RemoveRecordService()
{
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager.get()) return Failed("rimuovere");
    const ServiceHandle service(OpenServiceW(manager.get(), kRecordServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
    if (!service.get()) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? std::string() : Failed("rimuovere");
    SERVICE_STATUS status{};
    if (!ControlService(service.get(), SERVICE_CONTROL_STOP, &status) && GetLastError() != ERROR_SERVICE_NOT_ACTIVE)
        return Failed("fermare");
    if (!AwaitState(service.get(), SERVICE_STOPPED)) return Failed("fermare", ERROR_SERVICE_REQUEST_TIMEOUT);
    if (!DeleteService(service.get())) return Failed("rimuovere");
    return {};
}

}  // namespace brivana
