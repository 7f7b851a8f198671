#include "game/register_store.h"

#include "game/record_store.h"

#include <filesystem>
#include <map>
#include <utility>

namespace brivana {

namespace {

RegisterResult Refused(std::string why) { return {false, std::move(why)}; }

// How far back a delivery looks for lines an interrupted one may have left: some hundreds of games.
constexpr std::size_t kLookBack = 256 * 1024;

// How many times each whole line (CR LF included) is among the last kLookBack bytes of the register
// at path; a register that cannot be read holds none.
std::map<std::string, int> LastLines(FileAccess& files, const std::string& path)
{
    std::map<std::string, int> lines;
    std::string tail;
    std::uint64_t size = 0;
    if (!files.readTail(path, kLookBack, tail, size).ok()) return lines;
    std::size_t start = 0;
    // A tail that starts inside a line: that line is not whole here.
    if (tail.size() < size) start = tail.find('\n') == std::string::npos ? tail.size() : tail.find('\n') + 1;
    for (std::size_t end; (end = tail.find('\n', start)) != std::string::npos; start = end + 1)
        ++lines[tail.substr(start, end + 1 - start)];
    return lines;
}

}  // namespace

std::optional<int> SchoolYearOfWhen(const std::string& when)
{
    // "YYYY-MM-DD ...": the checks of the whole line have passed before a line gets here.
    if (when.size() < 7 || when[4] != '-') return std::nullopt;
    int year = 0;
    int month = 0;
    for (std::size_t i = 0; i < 7; ++i) {
        if (i == 4) continue;
        if (when[i] < '0' || when[i] > '9') return std::nullopt;
        int& field = i < 4 ? year : month;
        field = field * 10 + (when[i] - '0');
    }
    if (month < 1 || month > 12) return std::nullopt;
    const int schoolYear = SchoolYearOf(year, month);
    if (schoolYear < kFirstSchoolYear || schoolYear > kLastSchoolYear) return std::nullopt;
    return schoolYear;
}

RegisterLine StampedLine(RegisterStamps& stamps, const GameResult& result)
{
    std::string computer = RegisterText(stamps.computerName());
    if (computer.empty()) computer.push_back('?');
    return {stamps.now(), std::move(computer), result};
}

RegisterStore::RegisterStore(FileAccess& files, std::string recordDir, std::chrono::milliseconds lockWait)
    : files_(files), dir_(std::move(recordDir)), lockWait_(lockWait)
{
}

std::string RegisterStore::pathOf(int schoolYear) const
{
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const bool separated = !dir_.empty() && (dir_.back() == separator || dir_.back() == '/');
    std::string path = dir_;
    if (!separated) path += separator;
    path += RegisterFileName(schoolYear);
    return path;
}

IoStatus RegisterStore::CutTornTail(const std::string& path, std::uint64_t& size, std::string& lineStart)
{
    lineStart.clear();
    std::string tail;
    // One byte more than the longest line: a line end must be among them unless the tail is
    // something no append of ours left.
    IoStatus status = files_.readTail(path, kRegisterLineLimit + 1, tail, size);
    if (status.kind == IoStatus::Kind::missing) {
        size = 0;
        return IoStatus::success();
    }
    if (!status.ok() || tail.empty() || tail.back() == '\n') return status;
    const std::size_t lastEnd = tail.rfind('\n');
    if (lastEnd == std::string::npos && tail.size() < size) {
        // Not a line of ours: it stays for the teacher to see, and the next line starts afresh.
        lineStart = "\r\n";
        return IoStatus::success();
    }
    const std::uint64_t keep = size - (tail.size() - (lastEnd == std::string::npos ? 0 : lastEnd + 1));
    if (status = files_.truncate(path, keep); !status.ok()) return status;
    // The cut must be on the disk before the new line is, or a power cut could join them.
    if (status = files_.syncFile(path); !status.ok()) return status;
    size = keep;
    return IoStatus::success();
}

RegisterResult RegisterStore::Append(const RegisterLine& line)
{
    std::size_t done = 0;
    return AppendAll({{line, false}}, done);
}

RegisterResult RegisterStore::AppendAll(const std::vector<Delivery>& lines, std::size_t& done)
{
    done = 0;
    for (const Delivery& delivery : lines)
        if (!IsValidLine(delivery.line) || !SchoolYearOfWhen(delivery.line.when))
            return Refused("La riga da scrivere nel registro non è quella di una partita: non la scrivo.");
    std::unique_ptr<FileLock> lock;
    if (IoStatus status = files_.lockFolder(dir_, lockWait_, lock); !status.ok()) return Refused(status.why);
    // The last lines of each register a line may already be in, counted as they were before
    // this delivery.
    std::map<std::string, std::map<std::string, int>> found;
    for (const Delivery& delivery : lines) {
        const std::string path = pathOf(*SchoolYearOfWhen(delivery.line.when));
        if (delivery.maybeThere) {
            if (!found.contains(path)) found[path] = LastLines(files_, path);
            if (int& copies = found[path][EncodeRegisterLine(delivery.line)]; copies > 0) {
                --copies;
                ++done;
                continue;
            }
        }
        if (RegisterResult appended = AppendLocked(delivery.line); !appended.done) return appended;
        ++done;
    }
    return {true, {}};
}

RegisterResult RegisterStore::AppendLocked(const RegisterLine& line)
{
    const std::string path = pathOf(*SchoolYearOfWhen(line.when));
    std::uint64_t size = 0;
    std::string lineStart;
    if (IoStatus status = CutTornTail(path, size, lineStart); !status.ok()) return Refused(status.why);
    const std::string bytes = lineStart + EncodeRegisterLine(line);
    if (size + bytes.size() > kRegisterSizeLimit)
        return Refused("Il registro di quest'anno scolastico (" + path +
                       ") è troppo grande: un docente deve svuotarlo prima che vi si possano scrivere altre partite.");
    IoStatus status = files_.appendPrivate(path, bytes);
    if (status.ok()) status = files_.syncFile(path);
    // A new file's name must reach the disk too.
    if (status.ok() && size == 0) status = files_.syncDirectory(dir_);
    if (!status.ok()) {
        // Whatever part of the line was written goes again now; should that fail, the next append cuts it.
        files_.truncate(path, size);
        return Refused(status.why);
    }
    return {true, {}};
}

RegisterResult RegisterStore::Clear(int schoolYear)
{
    if (schoolYear < kFirstSchoolYear || schoolYear > kLastSchoolYear)
        return Refused("L'anno scolastico da svuotare non è valido.");
    std::unique_ptr<FileLock> lock;
    IoStatus status = files_.lockFolder(dir_, lockWait_, lock);
    if (status.ok()) status = files_.remove(pathOf(schoolYear));
    if (status.ok()) status = files_.syncDirectory(dir_);
    if (!status.ok()) return Refused(status.why);
    return {true, {}};
}

RegisterResult LocalRecordKeeper::appendResult(const std::string& dir, const GameResult& result)
{
    if (std::string problem = ResultProblem(result); !problem.empty()) return Refused(std::move(problem));
    return RegisterStore(files_, dir).Append(StampedLine(stamps_, result));
}

RegisterResult LocalRecordKeeper::clearSchoolYear(const std::string& dir, int schoolYear)
{
    return RegisterStore(files_, dir).Clear(schoolYear);
}

}  // namespace brivana
