#include "system/open_in_browser.h"

#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "system/error_text.h"

extern char** environ;

namespace brivana {

std::string OpenInBrowser(const std::string& path)
{
    const std::string failed = "Non riesco ad aprire la pagina " + path + " nel browser";
    // No shell between us and the path: whatever it holds is one argument.
    char program[] = "xdg-open";
    std::string argument = path;
    char* arguments[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    const int error = ::posix_spawnp(&child, program, nullptr, nullptr, arguments, environ);
    if (error != 0) return failed + " (xdg-open: " + SystemErrorText(error) + "). La si può aprire a mano.";
    // xdg-open ends as soon as the browser has the page, except where it runs the browser itself:
    // a few seconds tell the two apart, and a browser still open is no failure.
    for (int tries = 0; tries < 50; ++tries) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0
                       ? std::string()
                       : failed + ": nessun browser risponde. La si può aprire a mano.";
        if (done < 0) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

}  // namespace brivana
