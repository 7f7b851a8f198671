#include "system/record_check.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "game/record_store.h"
#include "system/descriptor_posix.h"
#include "system/keeper_answers.h"
#include "system/lab_setting.h"
#include "system/own_folder_report.h"
#include "system/record_keeper_process.h"
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

std::string Line(const std::string& text)
{
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

// What the check says of the record's folder, and whether all went well there.
struct FolderReport {
    std::string text;
    bool good = false;
};

// Says what a lab folder is, reads the record as it stands (repairing nothing), and writes and
// removes a file of the kind a save writes, under the folder's lock.
FolderReport ReportFolder(const std::string& dir, bool lab)
{
    FolderReport report;
    report.text = lab ? "Il record della classe è in " + dir + " (" + FolderKind(dir) + ")\n"
                      : "Il record di questo computer è in " + dir + "\n";
    SystemFileAccess files;
    RecordReading reading;
    for (auto [name, text] : {std::pair{kScoreFileName, &reading.score}, std::pair{kHolderFileName, &reading.holder}}) {
        const IoStatus status = files.readHead(dir + name, kRecordReadLimit, *text);
        if (!status.ok() && status.kind != IoStatus::Kind::missing) reading.problems.push_back(status.why);
    }
    if (reading.problems.empty())
        report.text += "Lettura: riuscita (record \"" + Line(reading.score) + "\" di \"" + Line(reading.holder) + "\")\n";
    for (const std::string& problem : reading.problems) report.text += "Lettura: NON riuscita: " + problem + "\n";
    const IoStatus write = TrySaveStepsIn(files, dir);
    report.text += "Scrittura: " + (write.ok() ? std::string("riuscita") : "NON riuscita: " + write.why) + "\n";
    report.good = reading.problems.empty() && write.ok();
    return report;
}

// ReportFolder in a child process, waited for at most wait. Even asking a hung mount what it is
// never returns, and a thread stuck so keeps its whole process from ending: the administrator's
// command must end all the same. A child that does not answer in time is left behind, with none
// of the command's output open. Nothing when it did not answer.
std::optional<FolderReport> ReportFolderInChild(const std::string& dir, bool lab, std::chrono::milliseconds wait)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return FolderReport{"Non riesco a verificare la cartella " + dir + ".\n"};
    Descriptor answer(ends[0]), writing(ends[1]);
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child < 0) return FolderReport{"Non riesco a verificare la cartella " + dir + ".\n"};
    if (child == 0) {
        answer.reset();
        const Descriptor none(::open("/dev/null", O_RDWR | O_CLOEXEC));
        for (const int output : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::dup2(none.get(), output);
        const FolderReport report = ReportFolder(dir, lab);
        // Unread once the command has stopped waiting; the child then just ends.
        WriteAll(writing.get(), (report.good ? "1" : "0") + report.text);
        ::_exit(0);
    }
    writing.reset();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::string bytes;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd ready{answer.get(), POLLIN, 0};
        const int events = left > 0 ? ::poll(&ready, 1, static_cast<int>(left)) : 0;
        if (events < 0 && errno == EINTR) continue;
        if (events <= 0) return std::nullopt;
        char chunk[4096];
        const ssize_t got = ::read(answer.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::waitpid(child, nullptr, 0);
    if (bytes.empty()) return FolderReport{"La verifica della cartella " + dir + " si è interrotta.\n"};
    return FolderReport{bytes.substr(1), bytes.front() == '1'};
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
    const auto folder = ReportFolderInChild(record, !lab.empty(), kServerAnswerWait);
    if (folder)
        std::fputs(folder->text.c_str(), stdout);
    else
        std::printf("Il record %s è in %s (non risponde)\n"
                    "Lettura e scrittura: NON riuscite, la cartella non risponde entro %lld ms\n",
                    lab.empty() ? "di questo computer" : "della classe", record.c_str(),
                    static_cast<long long>(kServerAnswerWait.count()));
    bool good = folder && folder->good;
    if (!lab.empty()) {
        bool ownUsable = false;
        std::fputs(OwnFolderReport(own, ownUsable).c_str(), stdout);
        good = good && ownUsable;
    }
    std::printf("Esito: %s\n", good ? "il custode può leggere e scrivere il record" : "PROBLEMA");
    std::fflush(stdout);
    return good ? 0 : 1;
}

}  // namespace brivana
