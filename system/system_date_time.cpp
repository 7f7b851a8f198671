#include "system/system_date_time.h"

#include <chrono>
#include <ctime>

#include "system/local_time.h"

namespace brivana {

std::string SystemDateTime::nowText()
{
    const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
    return std::string(text, length);
}

}  // namespace brivana
