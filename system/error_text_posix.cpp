#include "system/error_text.h"

#include <cerrno>

namespace brivana {

std::string SystemErrorText(int code)
{
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
    case ELOOP: return "è un collegamento, non un file normale";
    default: return "errore di sistema " + std::to_string(code);
    }
}

}  // namespace brivana
