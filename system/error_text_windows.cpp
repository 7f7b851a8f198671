#include "system/error_text.h"

#include <windows.h>

namespace brivana {

std::string SystemErrorText(int code)
{
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
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return "esiste già qualcosa con quel nome";
    // Who holds it cannot be known: another game, or one stopped half-way.
    case ERROR_TIMEOUT: return "il record è occupato da troppo tempo; riprova più tardi";
    case ERROR_CANT_ACCESS_FILE: return "non è un file normale";
    default: return "errore di sistema " + std::to_string(code);
    }
}

}  // namespace brivana
