#pragma once
// The teachers' register: the files, one per school year, beside the record files, to which the
// keeper appends one line per game. Every append and every clearing holds the record folder's
// lock, so that games appending at once never mix their lines. A line is whole or absent: an
// append stopped half-way leaves a tail without its line end, which the next append cuts away
// before writing.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/file_access.h"
#include "game/record_keeper.h"
#include "game/register_line.h"

namespace brivana {

// A register file grows no further than this: some twenty thousand games a school year fit in a
// tenth of it. Past it the keeper refuses to append and says why.
inline constexpr std::uint64_t kRegisterSizeLimit = 32 * 1024 * 1024;

// What the keeper stamps on a line itself, never taking it from the game.
class RegisterStamps {
public:
    virtual ~RegisterStamps() = default;
    // The local date and time now, as RegisterWhen writes it.
    virtual std::string now() = 0;
    // This computer's name, as its system names it.
    virtual std::string computerName() = 0;
};

// The school year of a register line's date and time; nothing when it is not one.
std::optional<int> SchoolYearOfWhen(const std::string& when);

class RegisterStore {
public:
    // recordDir as RecordStore takes it.
    RegisterStore(FileAccess& files, std::string recordDir,
                  std::chrono::milliseconds lockWait = std::chrono::seconds(3));

    std::string pathOf(int schoolYear) const;
    // Appends line to the register of its school year.
    RegisterResult Append(const RegisterLine& line);
    // Appends lines in order under one hold of the lock, stopping at the first that fails; done
    // counts the lines now in the register. A line maybeThere, whose earlier delivery may have
    // reached the register, is not appended again when the register's last lines hold it: each
    // line found there answers for one line.
    struct Delivery {
        RegisterLine line;
        bool maybeThere = false;
    };
    RegisterResult AppendAll(const std::vector<Delivery>& lines, std::size_t& done);
    // Deletes the register of schoolYear; one that is not there is no failure.
    RegisterResult Clear(int schoolYear);

private:
    // Cuts away the tail an interrupted append left; from then on the file ends with a whole
    // line, or a line end is written first. size is the file's size after.
    IoStatus CutTornTail(const std::string& path, std::uint64_t& size, std::string& lineStart);
    // Appends line, the folder's lock being held.
    RegisterResult AppendLocked(const RegisterLine& line);

    FileAccess& files_;
    std::string dir_;
    std::chrono::milliseconds lockWait_;
};

// The register line of result, stamped now: nothing but the line's own check can refuse it.
RegisterLine StampedLine(RegisterStamps& stamps, const GameResult& result);

}  // namespace brivana
