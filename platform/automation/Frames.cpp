#include "platform/automation/Frames.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdint>

namespace qv {

namespace wire {

FrameStatus WaitFor(int fd, short events, std::optional<Deadline> deadline) {
  for (;;) {
    int timeout = -1;
    if (deadline) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
      if (left <= 0) return FrameStatus::TimedOut;
      timeout = static_cast<int>(left);
    }
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, timeout);
    if (ready > 0) return FrameStatus::Ok;
    if (ready < 0 && errno != EINTR) return FrameStatus::Failed;
  }
}

namespace {

FrameStatus SendAll(int fd, const char* data, std::size_t size, std::optional<Deadline> deadline) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      data += sent;
      size -= static_cast<std::size_t>(sent);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (FrameStatus status = WaitFor(fd, POLLOUT, deadline); status != FrameStatus::Ok) return status;
    } else if (errno == EPIPE || errno == ECONNRESET) {
      return FrameStatus::Closed;
    } else if (errno != EINTR) {
      return FrameStatus::Failed;
    }
  }
  return FrameStatus::Ok;
}

FrameStatus ReceiveAll(int fd, char* data, std::size_t size, std::optional<Deadline> deadline) {
  while (size > 0) {
    const ssize_t got = ::recv(fd, data, size, MSG_DONTWAIT);
    if (got > 0) {
      data += got;
      size -= static_cast<std::size_t>(got);
    } else if (got == 0 || errno == ECONNRESET) {
      return FrameStatus::Closed;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (FrameStatus status = WaitFor(fd, POLLIN, deadline); status != FrameStatus::Ok) return status;
    } else if (errno != EINTR) {
      return FrameStatus::Failed;
    }
  }
  return FrameStatus::Ok;
}

}  // namespace

FrameStatus SendFrame(int fd, std::string_view payload, std::optional<Deadline> deadline) {
  if (payload.size() > UINT32_MAX) return FrameStatus::TooLarge;
  const auto length = static_cast<std::uint32_t>(payload.size());
  // One buffer, one send: header and payload leave in the same segment.
  std::string frame;
  frame.reserve(4 + payload.size());
  for (int shift = 24; shift >= 0; shift -= 8) frame.push_back(static_cast<char>((length >> shift) & 0xFF));
  frame.append(payload);
  return SendAll(fd, frame.data(), frame.size(), deadline);
}

FrameStatus ReceiveFrame(int fd, std::string& payload, std::size_t maxSize, std::optional<Deadline> deadline) {
  unsigned char header[4];
  if (FrameStatus status = ReceiveAll(fd, reinterpret_cast<char*>(header), 4, deadline); status != FrameStatus::Ok)
    return status;
  const std::size_t length = (std::size_t{header[0]} << 24) | (std::size_t{header[1]} << 16) |
                             (std::size_t{header[2]} << 8) | std::size_t{header[3]};
  if (length > maxSize) return FrameStatus::TooLarge;
  payload.resize(length);
  return ReceiveAll(fd, payload.data(), length, deadline);
}

}  // namespace wire

}  // namespace qv
