#pragma once
// One question and one answer, timed in this process through the game's real window.

#include <memory>

namespace brivana::bench {

// Starts a game (dialogs answered at once, unseen; the record in a temporary directory) and
// registers its benchmarks; the game lives as long as the returned handle.
std::shared_ptr<void> RegisterInProcess(double minSeconds);

}  // namespace brivana::bench
