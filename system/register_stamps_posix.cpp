#include "system/register_stamps.h"

#include <climits>
#include <unistd.h>

namespace brivana {

std::string SystemRegisterStamps::computerName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace brivana
