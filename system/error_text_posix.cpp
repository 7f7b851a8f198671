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
    // Who holds it cannot be known: another game, or one stopped half-way.
    case EWOULDBLOCK: return "il record è occupato da troppo tempo; riprova più tardi";
    case EFBIG: return "il file supererebbe la dimensione massima consentita";
    case EMFILE: return "il programma ha troppi file aperti";
    case ENFILE: return "il sistema ha troppi file aperti";
    case ENOMEM: return "la memoria non basta";
    case EBUSY: return "il file o la cartella è in uso";
    case ENOTEMPTY: return "la cartella non è vuota";
    case EXDEV: return "i due percorsi sono su dischi diversi";
    case ELOOP: return "è un collegamento, non un file normale";
    default: return "errore di sistema " + std::to_string(code);
    }
}

}  // namespace brivana
