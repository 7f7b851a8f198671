#include "processes.h"

#include "peak_memory.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>

namespace brivana::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTimeoutMs = 30'000;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

pid_t Spawn(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

// Waits for the end of pid. Throws if it failed, unless it was killed.
void Reap(pid_t pid, const std::string& name, bool killed)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) throw std::runtime_error("lost " + name);
    if (!killed && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        throw std::runtime_error(name + " failed with status " + std::to_string(status));
}

}  // namespace

MapWatcher::MapWatcher() : connection_(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("no X display to watch");
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

MapWatcher::~MapWatcher() { xcb_disconnect(connection_); }

Run MapWatcher::untilMapped(const std::vector<std::string>& argv, double linger)
{
    // What earlier programs did on screen is past: a round trip, then drop what came before it.
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* old = xcb_poll_for_event(connection_)) free(old);

    const auto start = Clock::now();
    const pid_t pid = Spawn(argv);
    for (bool mapped = false; !mapped;) {
        std::unique_ptr<xcb_generic_event_t, decltype(&free)> event(xcb_poll_for_event(connection_), &free);
        if (!event) {
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            if (poll(&fd, 1, kTimeoutMs) == 1) continue;
            kill(pid, SIGKILL);
            Reap(pid, argv[0], true);
            throw std::runtime_error(argv[0] + " showed no window");
        }
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        // Menus and tooltips are mapped without the window manager; a window is not.
        mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY && !map->override_redirect;
    }
    const double seconds = Since(start);
    std::this_thread::sleep_for(std::chrono::duration<double>(linger));
    const double peak = PeakMiB(std::to_string(pid));
    kill(pid, SIGKILL);
    Reap(pid, argv[0], true);
    return {seconds, peak};
}

Run UntilExit(const std::vector<std::string>& argv)
{
    const auto start = Clock::now();
    const pid_t pid = Spawn(argv);
    Reap(pid, argv[0], false);
    return {Since(start), 0};
}

std::string OutputOf(const std::vector<std::string>& argv)
{
    std::string command;
    for (const std::string& arg : argv) command += " '" + arg + "'";  // our own paths and numbers
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot start " + argv[0]);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (pclose(pipe) != 0) throw std::runtime_error(argv[0] + " failed");
    return output;
}

}  // namespace brivana::bench
