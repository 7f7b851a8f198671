#include "driver/child.h"

#include <cerrno>
#include <fcntl.h>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "common/report.h"

extern char** environ;

namespace brivana::bench {

namespace {

std::runtime_error SystemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

Child::Child(const std::vector<std::string>& argv) : name_(argv.at(0))
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw SystemError("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    startNs_ = MonotonicNs();
    const int error = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (error != 0) {
        close(pipeFds[0]);
        errno = error;
        throw SystemError("cannot start " + name_);
    }
    out_ = pipeFds[0];
}

Child::~Child()
{
    if (!reaped_) kill();
    if (out_ >= 0) close(out_);
}

bool Child::readSome(double timeoutSeconds)
{
    pollfd fd{out_, POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(timeoutSeconds * 1000));
    if (ready < 0 && errno != EINTR) throw SystemError("poll");
    if (ready <= 0) return false;
    char buffer[4096];
    const ssize_t got = read(out_, buffer, sizeof buffer);
    if (got <= 0) throw std::runtime_error(name_ + " ended without reporting");
    pending_.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos; pending_.erase(0, end + 1)) {
        const std::string line = pending_.substr(0, end);
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) reports_.emplace(line.substr(0, space), line.substr(space + 1));
    }
    return true;
}

std::string Child::await(const std::string& key, double timeoutSeconds)
{
    const std::int64_t deadline = MonotonicNs() + static_cast<std::int64_t>(timeoutSeconds * 1e9);
    for (;;) {
        if (const auto found = reports_.find(key); found != reports_.end()) return found->second;
        const double left = static_cast<double>(deadline - MonotonicNs()) / 1e9;
        if (left <= 0 || !readSome(left)) throw std::runtime_error(name_ + " did not report " + key + " in time");
    }
}

void Child::awaitExit(double timeoutSeconds)
{
    const std::int64_t deadline = MonotonicNs() + static_cast<std::int64_t>(timeoutSeconds * 1e9);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (done < 0) throw SystemError("waitpid");
        if (MonotonicNs() > deadline) throw std::runtime_error(name_ + " did not end in time");
        usleep(2000);
    }
    reaped_ = true;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(name_ + " ended with status " + std::to_string(status));
}

void Child::kill()
{
    if (reaped_) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
}

}  // namespace brivana::bench
