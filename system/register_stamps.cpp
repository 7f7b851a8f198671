#include "system/register_stamps.h"

#include <chrono>
#include <ctime>

#include "system/local_time.h"

namespace brivana {

std::string SystemRegisterStamps::now()
{
    const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
    return RegisterWhen(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec);
}

}  // namespace brivana
