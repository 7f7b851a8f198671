#include "app/keeper_check_win32.h"

#include <windows.h>

#include <cstdio>
#include <sstream>

#include "game/record_store.h"
#include "system/keeper_answers.h"
#include "system/lab_setting_windows.h"
#include "system/own_folder_report.h"
#include "system/owned_handle_windows.h"
#include "system/record_pipe_windows.h"
#include "system/server_worker.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"
#include "system/wide_text_windows.h"
#include "system/windows_directory.h"

namespace brivana {

namespace {

constexpr const char* kReportName = "verifica.txt";
constexpr const char* kVerdictGood = "Esito: il custode può leggere e scrivere il record";

struct Probe {
    std::string reading;  // what was read, or why not
    IoStatus write;
};

// On the worker: reads the record as it stands (repairing nothing), then writes, flushes and
// removes a file of the kind a save writes, under the folder's lock.
Probe ProbeFolder(const std::string& dir)
{
    SystemFileAccess files;
    Probe probe;
    std::string score, holder;
    const IoStatus read = files.readHead(dir + kScoreFileName, 64, score);
    const IoStatus readHolder = files.readHead(dir + kHolderFileName, 300, holder);
    for (std::string* text : {&score, &holder}) text->erase(text->find_last_not_of("\r\n") + 1);
    probe.reading = !read.ok() && read.kind != IoStatus::Kind::missing ? "NON riuscita: " + read.why
                    : !readHolder.ok() && readHolder.kind != IoStatus::Kind::missing
                        ? "NON riuscita: " + readHolder.why
                        : "riuscita (record \"" + score + "\" di \"" + holder + "\")";
    probe.write = TrySaveStepsIn(files, dir);
    return probe;
}

}  // namespace

void WriteRecordCheck(const std::string& own, const std::string& lab, const std::string& settingProblem)
{
    std::ostringstream report;
    report << "Custode del record: il servizio " << Utf8(kRecordServiceName) << " (NT SERVICE\\"
           << Utf8(kRecordServiceName) << "; sulla rete di un dominio è questo computer)\n";
    if (!settingProblem.empty()) report << "ATTENZIONE: " << settingProblem << "\n";
    report << "Impostazione " << Utf8(kLabSettingValue) << " (HKLM\\" << Utf8(kLabSettingPolicyKey) << ", poi HKLM\\"
           << Utf8(kLabSettingInstallerKey) << "): " << (lab.empty() ? "nessuna cartella del laboratorio" : lab) << "\n";
    const std::string record = lab.empty() ? own : lab;
    report << "Il record " << (lab.empty() ? "di questo computer" : "della classe") << " è in " << record << "\n";
    ServerWorker worker;
    const auto probe = worker.run<Probe>([record] { return ProbeFolder(record); }, kServerAnswerWait);
    bool good = probe && probe->reading.rfind("riuscita", 0) == 0 && probe->write.ok();
    if (!probe)
        report << "Lettura e scrittura: NON riuscite, la cartella non risponde entro " << kServerAnswerWait.count()
               << " ms\n";
    else
        report << "Lettura: " << probe->reading << "\nScrittura: "
               << (probe->write.ok() ? "riuscita" : "NON riuscita: " + probe->write.why) << "\n";
    if (!lab.empty()) {
        bool ownUsable = false;
        report << OwnFolderReport(own, ownUsable);
        good = good && ownUsable;
    }
    report << (good ? kVerdictGood : "Esito: PROBLEMA") << "\n";
    // Whole or not at all: the administrator's command waits for the finished report.
    SystemFileAccess files;
    const std::string temporary = own + "verifica.tmp";
    files.remove(temporary);
    if (files.writeNew(temporary, report.str()).ok()) files.replace(temporary, own + kReportName);
}

int AskRecordCheck()
{
    const std::string report = InstalledRecordDirectory() + kReportName;
    DeleteFileW(Wide(report).c_str());
    using ServiceHandle = Owned<SC_HANDLE, CloseServiceHandle>;
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    const ServiceHandle service(
        manager ? OpenServiceW(manager.get(), kRecordServiceName, SERVICE_USER_DEFINED_CONTROL) : nullptr);
    SERVICE_STATUS status{};
    const bool asked = service && ControlService(service.get(), kRecordCheckControl, &status);
    const DWORD error = GetLastError();
    if (!asked) {
        std::printf("Non riesco a chiedere la verifica al servizio %s (è in esecuzione? serve un amministratore): "
                    "errore %lu.\n", Utf8(kRecordServiceName).c_str(), error);
        return 1;
    }
    SystemFileAccess files;
    std::string text;
    for (int waited = 0; waited < 100; ++waited, Sleep(100)) {
        if (!files.readHead(report, 64 * 1024, text).ok()) continue;
        std::fputs(text.c_str(), stdout);
        return text.find(kVerdictGood) == std::string::npos ? 1 : 0;
    }
    std::puts("Il servizio non ha scritto la verifica entro 10 secondi.");
    return 1;
}

}  // namespace brivana
