#include "system/pipe_io_windows.h"

#include <algorithm>

#include "system/owned_handle_windows.h"

namespace brivana {

namespace {

DWORD MillisecondsUntil(PipeDeadline deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<DWORD>(std::clamp<long long>(left.count(), 0, 0x7FFFFFFF));
}

// One ReadFile or WriteFile, waited for; the number of bytes moved, 0 when it failed.
template <typename Start>
DWORD Transfer(HANDLE pipe, Start start, PipeDeadline deadline, HANDLE stop)
{
    const OwnedKernel done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return 0;
    OVERLAPPED io{};
    io.hEvent = done.get();
    DWORD moved = 0;
    if (start(&io) || GetLastError() == ERROR_IO_PENDING) {
        const HANDLE events[2] = {io.hEvent, stop};
        const DWORD woken = WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, MillisecondsUntil(deadline));
        if (woken != WAIT_OBJECT_0) CancelIoEx(pipe, &io);
        // After a cancel this waits until the system has let go of io and the buffer.
        if (!GetOverlappedResult(pipe, &io, &moved, TRUE)) moved = 0;
    }
    return moved;
}

}  // namespace

bool ReadExactly(HANDLE pipe, void* data, std::size_t size, PipeDeadline deadline, HANDLE stop)
{
    auto* at = static_cast<char*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x10000));
        const DWORD got = Transfer(
            pipe, [&](OVERLAPPED* io) { return ReadFile(pipe, at, chunk, nullptr, io); }, deadline, stop);
        if (got == 0) return false;
        at += got;
        size -= got;
    }
    return true;
}

bool WriteExactly(HANDLE pipe, const void* data, std::size_t size, PipeDeadline deadline, HANDLE stop)
{
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x10000));
        const DWORD sent = Transfer(
            pipe, [&](OVERLAPPED* io) { return WriteFile(pipe, at, chunk, nullptr, io); }, deadline, stop);
        if (sent == 0) return false;
        at += sent;
        size -= sent;
    }
    return true;
}

}  // namespace brivana
