#include "game/replace_whole.h"

namespace brivana {

IoStatus ReplaceWhole(FileAccess& files, const std::string& temporary, const std::string& path,
                      const std::string& bytes, Readers readers)
{
    IoStatus status = readers == Readers::players ? files.writeNew(temporary, bytes)
                                                  : files.appendPrivate(temporary, bytes);
    if (status.ok()) status = files.syncFile(temporary);
    if (status.ok()) status = files.replace(temporary, path);
    if (!status.ok()) files.remove(temporary);
    return status;
}

}  // namespace brivana
