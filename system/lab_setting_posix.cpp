#include "system/lab_setting.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/error_text.h"

namespace brivana {

namespace {

// The setting's descriptor, closed when the reading ends.
struct OpenSetting {
    int fd = ::open(kLabSettingPath, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    ~OpenSetting() { if (fd >= 0) ::close(fd); }
};

}  // namespace

std::string LabRecordDirectory(std::string& why)
{
    why.clear();
    const OpenSetting setting;
    const int fd = setting.fd;
    if (fd < 0) {
        if (errno != ENOENT) why = FileErrorText("leggere", kLabSettingPath, errno);
        return {};
    }
    struct stat info {};
    std::string text;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == 0 && (info.st_mode & 022) == 0 &&
        info.st_size < 4096) {
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) text.assign(buffer, static_cast<std::size_t>(got));
    } else {
        why = std::string("Non seguo ") + kLabSettingPath +
              ": deve essere un file normale dell'amministratore (root), che nessun altro può scrivere.";
    }
    if (!why.empty()) return {};
    std::string problem;
    const auto folder = ParseLabSetting(text, problem);
    if (!folder) {
        why = std::string("Non seguo ") + kLabSettingPath + ": " + problem + ".";
        return {};
    }
    return *folder;
}

}  // namespace brivana
