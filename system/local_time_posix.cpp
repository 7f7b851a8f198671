#include "system/local_time.h"

namespace brivana {

std::tm LocalTime(std::time_t moment)
{
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace brivana
