#include "game/system_date_time.h"

#include <chrono>
#include <ctime>

namespace brivana {

std::string SystemDateTime::nowText()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
    return std::string(text, length);
}

}  // namespace brivana
