#pragma once
// Turns: one holder at a time, served in the order they came. A plain mutex lets a newcomer
// overtake those already waiting, so that a few games flooding the record keeper with requests
// could keep a classmate's read or save waiting until it gives up.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace brivana {

class Turns {
public:
    // Held for one turn: waits for it when made, ends it when destroyed.
    class Turn {
    public:
        explicit Turn(Turns& turns) : turns_(turns) { turns_.take(); }
        ~Turn() { turns_.give(); }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        Turns& turns_;
    };

private:
    void take()
    {
        std::unique_lock lock(mutex_);
        const std::uint64_t mine = next_++;
        served_.wait(lock, [this, mine] { return serving_ == mine; });
    }
    void give()
    {
        {
            const std::lock_guard lock(mutex_);
            ++serving_;
        }
        served_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable served_;
    std::uint64_t next_ = 0;     // the ticket of the next one to come
    std::uint64_t serving_ = 0;  // the ticket whose turn it is
};

}  // namespace brivana
