#include "game/waiting_register.h"

#include <algorithm>
#include <utility>

#include "game/replace_whole.h"

namespace brivana {

namespace {

constexpr const char* kHeader = "brivana registro in attesa 1\n";
// Written beside the list and renamed over it; under the lock no other keeper writes it.
constexpr const char* kTemporaryName = "registro-in-attesa.tmp";
// Lines one delivery hands over: a server that answers slowly still answers the game in time.
constexpr std::size_t kDeliveryLines = 50;
constexpr char kStarted = '+';
constexpr char kNotStarted = '-';

}  // namespace

std::string EncodeWaitingLines(const WaitingLines& lines)
{
    std::string bytes = kHeader;
    for (const RegisterStore::Delivery& waiting : lines)
        bytes += (waiting.maybeThere ? kStarted : kNotStarted) + EncodeRegisterLine(waiting.line);
    return bytes;
}

WaitingLines DecodeWaitingLines(const std::string& bytes)
{
    WaitingLines lines;
    const std::string header = kHeader;
    if (bytes.compare(0, header.size(), header) != 0) return lines;
    for (std::size_t start = header.size(), end; (end = bytes.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const std::string_view text = std::string_view(bytes).substr(start, end + 1 - start);
        if (text.front() != kStarted && text.front() != kNotStarted) continue;
        if (auto line = DecodeRegisterLine(text.substr(1))) lines.push_back({std::move(*line), text.front() == kStarted});
    }
    return lines;
}

WaitingRegister::WaitingRegister(FileAccess& files, std::string dir) : files_(files), dir_(std::move(dir))
{
    if (!dir_.empty() && dir_.back() != '/' && dir_.back() != '\\') dir_ += '/';
}

IoStatus WaitingRegister::load(WaitingLines& lines)
{
    lines.clear();
    std::string bytes;
    const IoStatus status =
        files_.readHead(dir_ + kWaitingRegisterName, std::string(kHeader).size() + kWaitingLinesMax * kRegisterLineLimit,
                        bytes);
    if (status.kind == IoStatus::Kind::missing) return IoStatus::success();
    if (status.ok()) lines = DecodeWaitingLines(bytes);
    return status;
}

IoStatus WaitingRegister::store(const WaitingLines& lines)
{
    const std::string path = dir_ + kWaitingRegisterName;
    if (lines.empty()) {
        IoStatus status = files_.remove(path);
        return status.ok() ? files_.syncDirectory(dir_) : status;
    }
    const std::string temporary = dir_ + kTemporaryName;
    // One left by a keeper stopped half-way: only ever written under this lock.
    IoStatus status = files_.remove(temporary);
    // Pupils' results: as private as the register itself.
    if (status.ok()) status = ReplaceWhole(files_, temporary, path, EncodeWaitingLines(lines), Readers::teachers);
    return status.ok() ? files_.syncDirectory(dir_) : status;
}

IoStatus WaitingRegister::waiting(WaitingLines& lines)
{
    std::unique_ptr<FileLock> lock;
    IoStatus status = files_.lockFolder(dir_, kWait, lock);
    return status.ok() ? load(lines) : status;
}

RegisterResult WaitingRegister::keep(const RegisterLine& line)
{
    // A line the register would refuse would hold up every line after it.
    if (!IsValidLine(line) || !SchoolYearOfWhen(line.when))
        return {false, "La riga da scrivere nel registro non è quella di una partita: non la scrivo."};
    std::unique_ptr<FileLock> lock;
    WaitingLines lines;
    IoStatus status = files_.lockFolder(dir_, kWait, lock);
    if (status.ok()) status = load(lines);
    if (!status.ok()) return {false, status.why};
    if (lines.size() >= kWaitingLinesMax)
        return {false, "Su questo computer aspettano già troppe partite di essere scritte nel registro della "
                       "classe: finché il server non risponde non posso conservarne altre."};
    lines.push_back({line, false});
    if (status = store(lines); !status.ok()) return {false, status.why};
    return {true, {}};
}

RegisterResult WaitingRegister::deliverTo(RegisterStore& registerStore)
{
    WaitingLines batch;
    {
        // From now on these lines may reach the server: marked so before, whatever stops this delivery.
        std::unique_ptr<FileLock> lock;
        WaitingLines lines;
        IoStatus status = files_.lockFolder(dir_, kWait, lock);
        if (status.ok()) status = load(lines);
        if (!status.ok()) return {false, status.why};
        batch.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), kDeliveryLines)));
        const bool marked = std::all_of(batch.begin(), batch.end(), [](const auto& waiting) { return waiting.maybeThere; });
        for (std::size_t i = 0; i < batch.size(); ++i) lines[i].maybeThere = true;
        if (!marked) status = store(lines);
        if (!status.ok()) return {false, status.why};
    }
    if (batch.empty()) return {true, {}};
    std::size_t done = 0;
    RegisterResult delivered = registerStore.AppendAll(batch, done);
    if (IoStatus status = takeOff(batch, done); !status.ok() && delivered.done) return {false, status.why};
    return delivered;
}

IoStatus WaitingRegister::takeOff(const WaitingLines& batch, std::size_t done)
{
    if (done == 0) return IoStatus::success();
    std::unique_ptr<FileLock> lock;
    WaitingLines lines;
    IoStatus status = files_.lockFolder(dir_, kWait, lock);
    if (status.ok()) status = load(lines);
    if (!status.ok()) return status;
    // Another keeper's delivery may have taken off some of them already, never a later line.
    const auto sameLine = [](const RegisterStore::Delivery& a, const RegisterStore::Delivery& b) {
        return a.line == b.line;
    };
    for (std::size_t from = 0; from < done; ++from) {
        const std::size_t count = done - from;
        if (count <= lines.size() && std::equal(batch.begin() + static_cast<std::ptrdiff_t>(from),
                                                batch.begin() + static_cast<std::ptrdiff_t>(done), lines.begin(), sameLine)) {
            lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count));
            return store(lines);
        }
    }
    return IoStatus::success();
}

}  // namespace brivana
