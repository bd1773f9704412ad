#pragma once
// Frames of the middleware: a 4-byte big-endian length, then the payload.
// Sending and receiving wait with poll so every wait can have a deadline.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

namespace wire {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

enum class FrameStatus { Ok, Closed, TimedOut, TooLarge, Failed };

// Sends one frame; without a deadline waits as long as it takes.
FrameStatus SendFrame(int fd, std::string_view payload, std::optional<Deadline> deadline);
// Receives one frame of at most maxSize payload bytes. A larger announced
// length returns TooLarge without reading the payload.
FrameStatus ReceiveFrame(int fd, std::string& payload, std::size_t maxSize, std::optional<Deadline> deadline);

// Waits until the socket is ready for the events (POLLIN, POLLOUT); the
// socket call that follows reports hang-ups and errors.
FrameStatus WaitFor(int fd, short events, std::optional<Deadline> deadline);

inline constexpr std::size_t kDefaultMaxFrameSize = 16 * 1024 * 1024;

}  // namespace wire

}  // namespace qv
