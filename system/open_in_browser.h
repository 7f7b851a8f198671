#pragma once
// Opens a local file in the user's default browser: xdg-open on Linux, the shell on Windows.

#include <string>

namespace brivana {

// An empty text when the browser was asked to open it, otherwise why not, in Italian.
std::string OpenInBrowser(const std::string& path);

}  // namespace brivana
