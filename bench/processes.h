#pragma once
// Starting the measured programs and waiting for the moment each is measured at: its first
// top-level window mapped by the X server, or its own end.

#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace brivana::bench {

struct Run {
    double seconds = 0;  // from the spawn to the moment
    double peakMiB = 0;  // VmHWM of the program when it was killed
};

// Sees, without polling, every window the X server maps on the screen (MapNotify on the root
// window: a client's own window, or the frame the window manager maps around it).
class MapWatcher {
public:
    MapWatcher();  // on $DISPLAY; throws if there is none
    ~MapWatcher();
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    // Spawns argv, waits for its first window on screen, lets it run `linger` seconds more
    // and kills it.
    Run untilMapped(const std::vector<std::string>& argv, double linger = 0);

private:
    xcb_connection_t* connection_;
};

// Spawns argv and waits for it to end by itself, with status 0; no peak memory.
Run UntilExit(const std::vector<std::string>& argv);
// What argv writes on its standard output, run to its end with status 0.
std::string OutputOf(const std::vector<std::string>& argv);

}  // namespace brivana::bench
