#pragma once
// The games a keeper could not yet write in the lab's register on the school's server: their
// register lines, kept in the keeper's own folder in the order the games ended, until a later
// delivery hands them over. The list is one small file, replaced whole under that folder's lock,
// so that a power cut leaves the old list or the new one.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "game/file_access.h"
#include "game/record_keeper.h"
#include "game/register_store.h"

namespace brivana {

inline constexpr const char* kWaitingRegisterName = "registro-in-attesa.txt";
// Weeks of a lab's games on one computer while its server is away; past it a game is refused.
inline constexpr std::size_t kWaitingLinesMax = 1000;

// Each line with whether a delivery has begun on it: such a line may be on the server already.
using WaitingLines = std::vector<RegisterStore::Delivery>;

std::string EncodeWaitingLines(const WaitingLines& lines);
// The lines of a list of ours; a list that is not ours is empty, a line that is not whole is left out.
WaitingLines DecodeWaitingLines(const std::string& bytes);

class WaitingRegister {
public:
    // dir: the keeper's own folder.
    WaitingRegister(FileAccess& files, std::string dir);

    // The lines waiting now.
    IoStatus waiting(WaitingLines& lines);
    // Adds the line of a game that just ended at the end of the list.
    RegisterResult keep(const RegisterLine& line);
    // Hands the lines waiting here to register, oldest first, and takes those it took off the
    // list. Lines kept meanwhile stay for the next delivery, and so do those after a failure.
    RegisterResult deliverTo(RegisterStore& registerStore);

private:
    static constexpr std::chrono::milliseconds kWait{2000};
    IoStatus load(WaitingLines& lines);
    IoStatus store(const WaitingLines& lines);
    // Takes off the list the first done lines of batch, where they still are.
    IoStatus takeOff(const WaitingLines& batch, std::size_t done);

    FileAccess& files_;
    std::string dir_;
};

}  // namespace brivana
