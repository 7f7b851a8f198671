#pragma once
// Whole reads and writes on a pipe opened for overlapped I/O, each given up at a deadline, so
// that a silent or slow peer never holds the caller longer than it allows.

#include <windows.h>

#include <chrono>
#include <cstddef>

namespace brivana {

using PipeDeadline = std::chrono::steady_clock::time_point;

// Reads exactly size bytes; false when the peer closed, the deadline passed or stop (may be
// null) was signalled first. The operation is cancelled then, never left running.
bool ReadExactly(HANDLE pipe, void* data, std::size_t size, PipeDeadline deadline, HANDLE stop);
bool WriteExactly(HANDLE pipe, const void* data, std::size_t size, PipeDeadline deadline, HANDLE stop);

}  // namespace brivana
