#include "system/lab_setting.h"

#include <sstream>

namespace brivana {

std::optional<std::string> ParseLabSetting(const std::string& text, std::string& why)
{
    std::istringstream lines(text);
    std::string line;
    std::string folder;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        constexpr std::string_view key = "cartella=";
        if (line.compare(0, key.size(), key) != 0) {
            why = "la riga \"" + line + "\" non è un'impostazione di Brivana";
            return std::nullopt;
        }
        folder = line.substr(key.size());
    }
    if (folder.empty()) return folder;
    const bool absolute = folder.front() == '/' || (folder.size() > 2 && folder[1] == ':') ||
                          folder.compare(0, 2, "\\\\") == 0;
    if (!absolute || folder.find('\0') != std::string::npos) {
        why = "la cartella \"" + folder + "\" non è un percorso completo";
        return std::nullopt;
    }
    const char separator = folder.front() == '/' ? '/' : '\\';
    if (folder.back() != separator) folder += separator;
    return folder;
}

}  // namespace brivana
