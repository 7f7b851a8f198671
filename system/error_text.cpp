#include "system/error_text.h"

namespace brivana {

std::string FileErrorText(const std::string& action, const std::string& path, int code)
{
    return "Non riesco a " + action + " " + path + ": " + SystemErrorText(code) + ".";
}

}  // namespace brivana
