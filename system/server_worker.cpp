#include "system/server_worker.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace brivana {

// Owned by the caller and by the thread alike, so that a thread left stuck outlives neither.
struct ServerWorker::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<std::any()> job;  // set while a job waits to be started
    bool busy = false;              // from a job's handing over to its end
    bool stopping = false;
    std::uint64_t done = 0;         // jobs finished so far
    std::any result;                // of the job numbered done
    std::thread thread;
};

namespace {

template <typename Shared>
void Work(const std::shared_ptr<Shared>& shared)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->stopping || shared->job; });
        if (!shared->job) return;
        auto job = std::move(shared->job);
        shared->job = nullptr;
        lock.unlock();
        std::any result = job();
        lock.lock();
        shared->result = std::move(result);
        ++shared->done;
        shared->busy = false;
        shared->changed.notify_all();
    }
}

}  // namespace

ServerWorker::ServerWorker() : shared_(std::make_shared<Shared>())
{
    shared_->thread = std::thread([shared = shared_] { Work(shared); });
}

ServerWorker::~ServerWorker()
{
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->changed.notify_all();
    const bool stuck = shared_->busy;
    lock.unlock();
    if (stuck) shared_->thread.detach();
    else shared_->thread.join();
}

bool ServerWorker::busy() const
{
    const std::lock_guard lock(shared_->mutex);
    return shared_->busy;
}

std::optional<std::any> ServerWorker::run(std::function<std::any()> job, std::chrono::milliseconds wait)
{
    std::unique_lock lock(shared_->mutex);
    if (shared_->busy) return std::nullopt;
    shared_->busy = true;
    shared_->job = std::move(job);
    const std::uint64_t mine = shared_->done + 1;
    shared_->changed.notify_all();
    if (!shared_->changed.wait_for(lock, wait, [&] { return shared_->done >= mine; })) return std::nullopt;
    return std::move(shared_->result);
}

}  // namespace brivana
