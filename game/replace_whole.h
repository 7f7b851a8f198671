#pragma once
// A small file replaced whole: written beside its place under a temporary name, flushed, then
// renamed over it, so that a power cut leaves the old content or the new one.

#include <string>

#include "game/file_access.h"

namespace brivana {

// Who may read the new file: every player (the record), or only the teachers (pupils' results).
enum class Readers { players, teachers };

// Puts bytes in place of path through temporary, which must not exist; a temporary left by a
// failed step is removed. The caller flushes the folder when its renames must survive a power cut.
IoStatus ReplaceWhole(FileAccess& files, const std::string& temporary, const std::string& path,
                      const std::string& bytes, Readers readers = Readers::players);

}  // namespace brivana
