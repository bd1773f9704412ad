#include "support/RawServer.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::test {

RawServer::RawServer(Behaviour behaviour, std::uint32_t address) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in socketAddress{};
  socketAddress.sin_family = AF_INET;
  socketAddress.sin_addr.s_addr = htonl(address);
  socklen_t size = sizeof socketAddress;
  ::bind(listener_, reinterpret_cast<sockaddr*>(&socketAddress), size);
  ::listen(listener_, 1);
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&socketAddress), &size);
  port_ = ntohs(socketAddress.sin_port);
  thread_ = std::thread([this, behaviour = std::move(behaviour)] {
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    behaviour(fd);
    ::close(fd);
  });
}

RawServer::~RawServer() {
  ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  ::close(listener_);
}

}  // namespace qv::test
