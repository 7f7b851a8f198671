#pragma once
// One thread that does a keeper's I/O on the school's server, so that the answering side can
// wait for it only so long. A call stuck in the kernel on a hung mount cannot be cancelled:
// the worker is left with it, and until it returns every later job is refused at once.

#include <any>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace brivana {

class ServerWorker {
public:
    // Starts the thread: in the keeper before its limits forbid new ones.
    ServerWorker();
    // Waits for an idle worker; leaves one stuck in a job to end with the process.
    ~ServerWorker();
    ServerWorker(const ServerWorker&) = delete;
    ServerWorker& operator=(const ServerWorker&) = delete;

    // Runs job on the worker and waits at most wait for its result. Nothing when the worker is
    // still busy with an earlier job, or when this one is not done in time (it goes on alone,
    // and its result is dropped). The job must own everything it uses.
    std::optional<std::any> run(std::function<std::any()> job, std::chrono::milliseconds wait);

    // Whether a job is still under way (then run refuses at once).
    bool busy() const;

    template <typename Result>
    std::optional<Result> run(std::function<Result()> job, std::chrono::milliseconds wait)
    {
        auto result = run(std::function<std::any()>([job = std::move(job)] { return std::any(job()); }), wait);
        if (!result) return std::nullopt;
        return std::any_cast<Result>(std::move(*result));
    }

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace brivana
