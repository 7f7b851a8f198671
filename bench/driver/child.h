#pragma once
// One benchmark program started by the driver: the moment it was started, its pid, and the
// figures it reports on its standard output.

#include <cstdint>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace brivana::bench {

class Child {
public:
    // Starts argv[0] with the given arguments; the start moment is taken just before the spawn.
    explicit Child(const std::vector<std::string>& argv);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    std::int64_t startNs() const { return startNs_; }

    // Waits for the report `key` and returns its value as text; throws on timeout or when
    // the program ends without it.
    std::string await(const std::string& key, double timeoutSeconds);
    // Waits for the program to end by itself; throws on timeout or an unclean end.
    void awaitExit(double timeoutSeconds);
    // Kills the program and reaps it.
    void kill();

private:
    bool readSome(double timeoutSeconds);

    std::string name_;
    pid_t pid_ = -1;
    int out_ = -1;
    std::int64_t startNs_ = 0;
    std::string pending_;
    std::map<std::string, std::string> reports_;
    bool reaped_ = false;
};

}  // namespace brivana::bench
