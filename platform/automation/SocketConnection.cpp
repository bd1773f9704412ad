#include "platform/automation/SocketConnection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/automation/Automation.h"
#include "platform/automation/ValueCodec.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/Exception.h"

namespace qv {

// ---------------------------------------------------------------- channel

namespace {

enum class CallKind { Method = 0, Get = 1, Put = 2 };

std::string Endpoint(const std::string& address, int port) { return address + ":" + std::to_string(port); }

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Waits for a non-blocking connect to finish; returns the error number (0
// on success, ETIMEDOUT when the deadline passes).
int FinishConnect(int fd, wire::Deadline deadline) {
  if (wire::WaitFor(fd, POLLOUT, deadline) == wire::FrameStatus::TimedOut) return ETIMEDOUT;
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
  return error;
}

int ConnectTo(const std::string& address, int port, wire::Deadline deadline) {
  const std::string prefix = "Cannot connect to " + Endpoint(address, port) + ": ";
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (int rc = ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found); rc != 0)
    throw ESocketError(prefix + ::gai_strerror(rc));
  std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> guard(found, &::freeaddrinfo);
  int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) throw ESocketError(prefix + std::strerror(errno));
  int error = ::connect(fd, found->ai_addr, found->ai_addrlen) == 0 ? 0 : errno;
  if (error == EINPROGRESS) error = FinishConnect(fd, deadline);
  if (error != 0) {
    CloseFd(fd);
    throw ESocketError(prefix + (error == ETIMEDOUT ? "timed out" : std::strerror(error)));
  }
  int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

[[noreturn]] void Malformed() { throw ESocketError("Malformed reply from the server"); }

void Check(wire::FrameStatus status, const std::string& what) {
  switch (status) {
    case wire::FrameStatus::Ok: return;
    case wire::FrameStatus::TimedOut: throw ESocketError(what + " timed out");
    case wire::FrameStatus::Closed: throw ESocketError("Connection closed by the server");
    case wire::FrameStatus::TooLarge: Malformed();
    case wire::FrameStatus::Failed: throw ESocketError(what + " failed: " + std::strerror(errno));
  }
}

// A reply is [callId, true, result, changed arguments] or [callId, false, message, className].
Variant ReadReply(const std::string& payload, std::int64_t callId) {
  Variant reply;
  try {
    reply = DecodeValue(payload);
  } catch (const Exception&) {
    Malformed();
  }
  if (reply.DimCount() != 1 || reply.LowBound() != 0 || reply.HighBound() != 3) Malformed();
  if (reply[0].Type() != VarType::Integer || reply[0].ToInt64() != callId) Malformed();
  if (reply[1].Type() != VarType::Boolean) Malformed();
  if (!reply[1].ToBool() && (!reply[2].IsText() || !reply[3].IsText())) Malformed();
  return reply;
}

}  // namespace

// The socket of one connection, shared by the component and the proxies it
// hands out, so a proxy outliving its component fails cleanly.
class SocketChannel {
 public:
  std::atomic<int> CallTimeout{60000};
  std::atomic<int> MaxFrameSize{static_cast<int>(wire::kDefaultMaxFrameSize)};

  ~SocketChannel() { CloseFd(fd_); }

  bool IsOpen() const { return open_; }

  void Open(const std::string& address, int port, const std::string& serverName, int connectTimeout) {
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) return;
    const auto deadline = wire::Clock::now() + std::chrono::milliseconds(connectTimeout);
    fd_ = ConnectTo(address, port, deadline);
    nextCallId_ = 1;  // ids count the calls of one connection
    Variant reply;
    try {
      reply = Exchange(Variant::ArrayOf({"open", serverName}), 0, deadline, "Opening " + serverName);
    } catch (...) {
      CloseLocked();  // a second Open must connect anew
      throw;
    }
    if (!reply[1].ToBool()) {
      CloseLocked();
      throw EOleError(reply[2].ToString());
    }
    open_ = true;
  }

  void Close() {
    std::lock_guard lock(mutex_);
    CloseLocked();
  }

  Variant Call(CallKind kind, std::string_view member, std::vector<Variant>& args) {
    std::lock_guard lock(mutex_);
    if (fd_ < 0) throw ESocketError("Not connected to the server");
    const std::int64_t callId = nextCallId_++;
    const Variant request = Variant::ArrayOf(
        {"call", Variant(static_cast<long long>(callId)), static_cast<int>(kind), std::string(member),
         Variant::ArrayOf(args)});
    const auto deadline = wire::Clock::now() + std::chrono::milliseconds(CallTimeout.load());
    try {
      Variant reply = Exchange(request, callId, deadline, "Call to " + std::string(member));
      if (!reply[1].ToBool()) throw EOleError(reply[2].ToString());
      WriteBack(reply[3], args);
      return reply[2];
    } catch (const ESocketError&) {
      CloseLocked();
      throw;
    }
  }

 private:
  // Encodes before anything is sent, so a value that cannot be encoded
  // leaves the connection as it was.
  Variant Exchange(const Variant& request, std::int64_t callId, wire::Deadline deadline, const std::string& what) {
    std::string payload;
    EncodeValue(request, payload);
    Check(wire::SendFrame(fd_, payload, deadline), what);
    std::string reply;
    Check(wire::ReceiveFrame(fd_, reply, static_cast<std::size_t>(MaxFrameSize.load()), deadline), what);
    return ReadReply(reply, callId);
  }

  // The reply names the arguments the member changed as [index, value]
  // pairs, the index an integer. All are checked before any is written, so
  // a malformed reply leaves the arguments as they were.
  static void WriteBack(const Variant& changes, std::vector<Variant>& args) {
    if (changes.DimCount() != 1) Malformed();
    for (const Variant& change : changes.ArrayRef().Elements()) {
      if (change.DimCount() != 1 || change.LowBound() != 0 || change.HighBound() != 1) Malformed();
      if (change[0].Type() != VarType::Integer) Malformed();
      const std::int64_t index = change[0].ToInt64();
      if (index < 0 || index >= static_cast<std::int64_t>(args.size())) Malformed();
    }
    for (const Variant& change : changes.ArrayRef().Elements())
      args[static_cast<std::size_t>(change[0].ToInt64())] = change[1];
  }

  void CloseLocked() {
    CloseFd(fd_);
    open_ = false;
  }

  std::mutex mutex_;
  int fd_ = -1;
  std::atomic<bool> open_{false};
  std::int64_t nextCallId_ = 1;
};

namespace {

// The server object as the client sees it.
class RemoteObject : public AutomationObject {
 public:
  explicit RemoteObject(std::shared_ptr<SocketChannel> channel) : channel_(std::move(channel)) {}

  Variant Invoke(std::string_view member, std::vector<Variant>& args) override {
    return channel_->Call(CallKind::Method, member, args);
  }
  Variant GetProperty(std::string_view name, std::vector<Variant>& args) override {
    return channel_->Call(CallKind::Get, name, args);
  }
  void PutProperty(std::string_view name, const Variant& value) override {
    std::vector<Variant> args{value};
    channel_->Call(CallKind::Put, name, args);
  }

 private:
  std::shared_ptr<SocketChannel> channel_;
};

}  // namespace

// ---------------------------------------------------------------- component

const TClass& TSocketConnection::StaticClass() {
  static const TClass cls =
      ClassBuilder<TSocketConnection>("TSocketConnection", &TComponent::StaticClass())
          .String("Address", &TSocketConnection::Address, &TSocketConnection::SetAddress)
          .Integer("Port", &TSocketConnection::Port, &TSocketConnection::SetPort)
          .String("ServerName", &TSocketConnection::ServerName, &TSocketConnection::SetServerName)
          .Boolean("Connected", &TSocketConnection::Connected, &TSocketConnection::SetConnected)
          .Integer("ConnectTimeout", &TSocketConnection::ConnectTimeout, &TSocketConnection::SetConnectTimeout)
          .Integer("CallTimeout", &TSocketConnection::CallTimeout, &TSocketConnection::SetCallTimeout)
          .Integer("MaxFrameSize", &TSocketConnection::MaxFrameSize, &TSocketConnection::SetMaxFrameSize);
  return cls;
}

namespace {

int Positive(int value, const char* what) {
  if (value <= 0) throw ERangeError(std::string(what) + " must be positive");
  return value;
}

}  // namespace

TSocketConnection::TSocketConnection(TComponent* owner)
    : TComponent(owner), channel_(std::make_shared<SocketChannel>()) {}

TSocketConnection::~TSocketConnection() { Close(); }

const std::string& TSocketConnection::Address() const { return address_; }
void TSocketConnection::SetAddress(const std::string& address) { address_ = address; }
int TSocketConnection::Port() const { return port_; }
void TSocketConnection::SetPort(int port) {
  if (port < 0 || port > 65535) throw ERangeError("Port must lie between 0 and 65535");
  port_ = port;
}
const std::string& TSocketConnection::ServerName() const { return serverName_; }
void TSocketConnection::SetServerName(const std::string& name) { serverName_ = name; }
int TSocketConnection::ConnectTimeout() const { return connectTimeout_; }
void TSocketConnection::SetConnectTimeout(int milliseconds) {
  connectTimeout_ = Positive(milliseconds, "ConnectTimeout");
}
int TSocketConnection::CallTimeout() const { return channel_->CallTimeout; }
void TSocketConnection::SetCallTimeout(int milliseconds) {
  channel_->CallTimeout = Positive(milliseconds, "CallTimeout");
}
int TSocketConnection::MaxFrameSize() const { return channel_->MaxFrameSize; }
void TSocketConnection::SetMaxFrameSize(int bytes) { channel_->MaxFrameSize = Positive(bytes, "MaxFrameSize"); }

bool TSocketConnection::Connected() const { return channel_->IsOpen(); }

void TSocketConnection::SetConnected(bool connected) {
  if (HasState(ComponentStateFlag::Loading)) {
    streamedConnected_ = connected;
    return;
  }
  if (connected)
    Open();
  else
    Close();
}

void TSocketConnection::Open() { channel_->Open(address_, port_, serverName_, connectTimeout_); }
void TSocketConnection::Close() { channel_->Close(); }

Variant TSocketConnection::AppServer() {
  if (!Connected()) Open();
  return Variant(AutomationPtr(std::make_shared<RemoteObject>(channel_)));
}

void TSocketConnection::Loaded() {
  TComponent::Loaded();
  if (streamedConnected_) Open();
}

}  // namespace qv
