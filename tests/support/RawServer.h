#pragma once
// A server in a test that speaks only as much of the middleware protocol as a
// case needs: it takes one connection on a loopback address and hands it to
// a behaviour, on a thread of its own.

#include <cstdint>
#include <functional>
#include <thread>

namespace qv::test {

class RawServer {
 public:
  using Behaviour = std::function<void(int fd)>;

  // address: an IPv4 address in host order, 127.0.0.1 unless given.
  explicit RawServer(Behaviour behaviour, std::uint32_t address = 0x7F000001);
  ~RawServer();  // wakes a listener no client came to
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int Port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace qv::test
