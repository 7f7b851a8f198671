#include "system/record_check.h"

#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "game/record_store.h"
#include "system/keeper_answers.h"
#include "system/lab_setting.h"
#include "system/own_folder_report.h"
#include "system/record_keeper_process.h"
#include "system/server_worker.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"

namespace brivana {

namespace {

// Whether a file system is mounted on folder (no trailing separator): a line of
// /proc/self/mountinfo names it as its mount point (spaces in it written as \040).
bool IsMountPoint(const std::string& folder)
{
    std::string escaped;
    for (const char c : folder) escaped += c == ' ' ? std::string("\\040") : std::string(1, c);
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream fields(line);
        std::string id, parent, device, root, point;
        if (fields >> id >> parent >> device >> root >> point && point == escaped) return true;
    }
    return false;
}

// What a folder is: the file system it lives on, and whether something is mounted there.
std::string FolderKind(const std::string& dir)
{
    std::string folder = dir;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    struct statfs system {};
    if (::statfs(folder.c_str(), &system) != 0) return "non la trovo";
    std::string kind;
    switch (static_cast<unsigned long>(system.f_type)) {
    case 0xFF534D42UL: case 0xFE534D42UL: kind = "condivisione SMB (cifs)"; break;
    case 0x6969UL: kind = "condivisione NFS"; break;
    case 0x65735546UL: kind = "file system FUSE"; break;
    default: kind = "disco locale";
    }
    return kind + (IsMountPoint(folder) ? ", punto di montaggio"
                                        : ", NON è un punto di montaggio: la condivisione è montata?");
}

struct Probe {
    std::string kind;  // the lab folder's FolderKind
    RecordReading reading;
    IoStatus write;
};

// On the worker, since even asking a hung mount what it is never returns: says what a lab
// folder is, reads the record as it stands (repairing nothing) and writes and removes a file of
// the kind a save writes, under the folder's lock.
Probe ProbeFolder(const std::string& dir, bool lab)
{
    SystemFileAccess files;
    Probe probe;
    if (lab) probe.kind = FolderKind(dir);
    for (auto [name, text] : {std::pair{kScoreFileName, &probe.reading.score}, std::pair{kHolderFileName, &probe.reading.holder}}) {
        const IoStatus status = files.readHead(dir + name, kRecordReadLimit, *text);
        if (!status.ok() && status.kind != IoStatus::Kind::missing) probe.reading.problems.push_back(status.why);
    }
    probe.write = TrySaveStepsIn(files, dir);
    return probe;
}

std::string Line(const std::string& text)
{
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

}  // namespace

int CheckRecordPlace()
{
    // As the keeper: with its rights, and beyond the reach of whoever started the check.
    if (!TakeKeeperIdentity()) {
        std::puts("Non riesco a prendere l'identità del custode del record.");
        return 1;
    }
    std::printf("Custode del record: utente %u, gruppo %u\n", static_cast<unsigned>(::geteuid()),
                static_cast<unsigned>(::getegid()));
    std::string why;
    const std::string lab = LabRecordDirectory(why);
    const std::string own = SharedRecordDirectory();
    if (!why.empty()) std::printf("ATTENZIONE: %s\n", why.c_str());
    std::printf("Impostazione %s: %s\n", kLabSettingPath,
                lab.empty() ? "nessuna cartella del laboratorio" : ("cartella=" + lab).c_str());
    if (lab.empty() && !CanKeepRecordsIn(own)) {
        // Not the installed game, or an installation that cannot write its folder.
        std::printf("Questo account non può scrivere %s: il suo record è nella cartella personale %s\n",
                    own.c_str(), UserRecordDirectory().c_str());
        std::fflush(stdout);
        std::_Exit(1);
    }
    const std::string record = lab.empty() ? own : lab;
    ServerWorker worker;
    const auto probe =
        worker.run<Probe>([record, isLab = !lab.empty()] { return ProbeFolder(record, isLab); }, kServerAnswerWait);
    if (lab.empty()) std::printf("Il record di questo computer è in %s\n", record.c_str());
    else std::printf("Il record della classe è in %s (%s)\n", record.c_str(), probe ? probe->kind.c_str() : "non risponde");
    bool good = probe && probe->reading.problems.empty() && probe->write.ok();
    if (!probe) {
        std::printf("Lettura e scrittura: NON riuscite, la cartella non risponde entro %lld ms\n",
                    static_cast<long long>(kServerAnswerWait.count()));
    } else {
        if (probe->reading.problems.empty())
            std::printf("Lettura: riuscita (record \"%s\" di \"%s\")\n", Line(probe->reading.score).c_str(),
                        Line(probe->reading.holder).c_str());
        for (const std::string& problem : probe->reading.problems) std::printf("Lettura: NON riuscita: %s\n", problem.c_str());
        std::printf("Scrittura: %s\n", probe->write.ok() ? "riuscita" : ("NON riuscita: " + probe->write.why).c_str());
    }
    if (!lab.empty()) {
        bool ownUsable = false;
        std::fputs(OwnFolderReport(own, ownUsable).c_str(), stdout);
        good = good && ownUsable;
    }
    std::printf("Esito: %s\n", good ? "il custode può leggere e scrivere il record" : "PROBLEMA");
    std::fflush(stdout);
    // A worker stuck on a hung server ends with the process.
    std::_Exit(good ? 0 : 1);
}

}  // namespace brivana
