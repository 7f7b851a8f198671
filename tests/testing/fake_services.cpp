#include "fake_services.h"

namespace brivana::testing {

IoStatus FaultyFileAccess::writeNew(const std::string& path, const std::string& bytes)
{
    if (!diskFull) return real_.writeNew(path, bytes);
    real_.writeNew(path, bytes.substr(0, bytes.size() / 2));
    return IoStatus::failure("Non riesco a scrivere " + path + ": il disco è pieno.");
}

IoStatus FaultyFileAccess::replace(const std::string& from, const std::string& to)
{
    if (++replaceCalls == failReplaceCall)
        return IoStatus::failure("Non riesco a sostituire " + to + ": errore di lettura o scrittura sul disco.");
    return real_.replace(from, to);
}

}  // namespace brivana::testing
