#include "game/system_error_text.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace brivana {

std::string SystemErrorText(int code)
{
#ifdef _WIN32
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return "il file non esiste";
    case ERROR_PATH_NOT_FOUND: return "la cartella non esiste";
    case ERROR_ACCESS_DENIED: return "permesso negato";
    case ERROR_WRITE_PROTECT: return "il disco è protetto da scrittura";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "il file è in uso da un altro programma";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return "il disco è pieno";
    case ERROR_DIRECTORY: return "non è una cartella";
    case ERROR_TIMEOUT: return "un'altra partita sta salvando il record da troppo tempo";
    default: return "errore di sistema " + std::to_string(code);
    }
#else
    switch (code) {
    case ENOENT: return "il file o la cartella non esiste";
    case EACCES:
    case EPERM: return "permesso negato";
    case EROFS: return "il disco è in sola lettura";
    case ENOSPC: return "il disco è pieno";
    case EDQUOT: return "lo spazio a disposizione è esaurito";
    case EISDIR: return "è una cartella, non un file";
    case ENOTDIR: return "una parte del percorso non è una cartella";
    case EEXIST: return "esiste già qualcosa con quel nome";
    case ENAMETOOLONG: return "il percorso è troppo lungo";
    case EIO: return "errore di lettura o scrittura sul disco";
    case EWOULDBLOCK: return "un'altra partita sta salvando il record da troppo tempo";
    case ELOOP: return "troppi collegamenti simbolici nel percorso";
    default: return "errore di sistema " + std::to_string(code);
    }
#endif
}

std::string PathForDisplay(const std::string& path)
{
#ifdef _WIN32
    if (path.empty()) return path;
    const int size = static_cast<int>(path.size());
    std::vector<wchar_t> wide(path.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), size);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (wideLength <= 0 || length <= 0) return path;
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
    return text;
#else
    return path;
#endif
}

std::string FileErrorText(const std::string& action, const std::string& path, int code)
{
    return "Non riesco a " + action + " " + PathForDisplay(path) + ": " + SystemErrorText(code) + ".";
}

}  // namespace brivana
