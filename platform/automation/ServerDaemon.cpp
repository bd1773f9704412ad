#include "platform/automation/ServerDaemon.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

#include "platform/automation/AutomationExport.h"
#include "platform/automation/Frames.h"
#include "platform/automation/ValueCodec.h"
#include "platform/core/Exception.h"

namespace qv {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

Variant ErrorReply(std::int64_t callId, const std::string& message, const std::string& className) {
  return Variant::ArrayOf({Variant(static_cast<long long>(callId)), false, message, className});
}

bool IsList(const Variant& value, int count) {
  return value.DimCount() == 1 && value.LowBound() == 0 && value.HighBound() == count - 1;
}

// Encodes a reply; a result the codec refuses (an automation object, say)
// becomes an error reply for the same call.
std::string EncodeReply(const Variant& reply) {
  std::string bytes;
  try {
    EncodeValue(reply, bytes);
  } catch (const EVariantError& error) {
    bytes.clear();
    EncodeValue(ErrorReply(reply[0].ToInt64(), error.Message(), error.ClassName()), bytes);
  }
  return bytes;
}

// What a session does with one request: the reply to send and whether the
// session goes on afterwards.
struct Outcome {
  Variant reply;
  bool keepOpen = true;
};

Variant CallMember(AutomationObject& object, std::int64_t kind, const std::string& member, std::vector<Variant>& args) {
  switch (kind) {
    case 0: return object.Invoke(member, args);
    case 1: return object.GetProperty(member, args);
    default:
      if (args.size() != 1) throw EOleError("A property is set from exactly one value");
      object.PutProperty(member, args[0]);
      return Variant();
  }
}

// Only the arguments a member changed travel back, as [index, value] pairs:
// a request's arguments are often large and seldom changed. A change is any
// difference at all, of type or value (Identical), not the loose comparison.
// Arguments the member added or removed have no counterpart on the client
// and stay here.
Variant ChangedArguments(const std::vector<Variant>& before, const std::vector<Variant>& after) {
  std::vector<Variant> changes;
  for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
    if (!Identical(after[i], before[i])) changes.push_back(Variant::ArrayOf({static_cast<long long>(i), after[i]}));
  return Variant::ArrayOf(std::move(changes));
}

// The failure reply for the exception being handled, whatever was thrown.
Variant ReplyToCurrentException(std::int64_t callId) {
  const auto [message, className] =
      automation_export::CurrentError("The server object raised an unknown exception");
  return ErrorReply(callId, message, className);
}

Outcome ServeCall(AutomationObject* object, const Variant& request) {
  const std::int64_t callId = request[1].ToInt64();
  const std::int64_t kind = request[2].ToInt64();
  const Variant& packed = request[4];
  if (object == nullptr) return {ErrorReply(callId, "No server object is open", "EOleError"), false};
  std::vector<Variant> args = packed.ArrayRef().Elements();
  try {
    Variant result = CallMember(*object, kind, request[3].ToString(), args);
    return {Variant::ArrayOf(
        {Variant(static_cast<long long>(callId)), true, result, ChangedArguments(packed.ArrayRef().Elements(), args)})};
  } catch (...) {
    return {ReplyToCurrentException(callId)};
  }
}

bool IsWellFormedCall(const Variant& request) {
  return IsList(request, 5) && request[1].Type() == VarType::Integer && request[2].Type() == VarType::Integer &&
         request[2].ToInt64() >= 0 && request[2].ToInt64() <= 2 && request[3].IsText() &&
         request[4].DimCount() == 1;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

ServerDaemon::ServerDaemon() : maxFrameSize_(wire::kDefaultMaxFrameSize) {}

ServerDaemon::~ServerDaemon() { Stop(); }

void ServerDaemon::RegisterObject(std::string serverName, AutomationFactory factory) {
  factories_[Lower(std::move(serverName))] = std::move(factory);
}

AutomationPtr ServerDaemon::CreateObject(const std::string& serverName) const {
  auto found = factories_.find(Lower(serverName));
  if (found == factories_.end()) throw EOleError("Unknown server name: " + serverName);
  AutomationPtr object = found->second();
  if (!object) throw EOleError("Server " + serverName + " could not create its object");
  return object;
}

int ServerDaemon::Listen(std::string address, int port) {
  if (listenFd_ >= 0) throw EInvalidOperation("The daemon is already listening");
  const std::string prefix = "Cannot listen on " + address + ":" + std::to_string(port) + ": ";
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
  addrinfo* found = nullptr;
  if (int rc = ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found); rc != 0)
    throw ESocketError(prefix + ::gai_strerror(rc));
  std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> guard(found, &::freeaddrinfo);
  int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int on = 1;
  if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, SOMAXCONN) != 0) {
    const int error = errno;
    CloseFd(fd);
    throw ESocketError(prefix + std::strerror(error));
  }
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size);
  listenFd_ = fd;
  return bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6&>(bound).sin6_port)
                                     : ntohs(reinterpret_cast<sockaddr_in&>(bound).sin_port);
}

void ServerDaemon::Start() {
  if (listenFd_ < 0) throw EInvalidOperation("Listen before starting the daemon");
  if (acceptThread_.joinable()) return;
  if (::pipe2(wakePipe_, O_CLOEXEC) != 0) throw ESocketError(std::string("Cannot start: ") + std::strerror(errno));
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void ServerDaemon::AcceptLoop() {
  for (;;) {
    pollfd entries[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    // The timeout only paces the reaping of finished sessions.
    if (::poll(entries, 2, 1000) < 0 && errno != EINTR) return;
    if (entries[1].revents != 0) return;
    ReapFinishedSessions();
    if ((entries[0].revents & POLLIN) == 0) continue;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      // Out of descriptors and the like: wait a little rather than spin.
      if (errno != EINTR && errno != ECONNABORTED) ::poll(nullptr, 0, 10);
      continue;
    }
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    StartSession(fd);
  }
}

void ServerDaemon::StartSession(int fd) {
  std::lock_guard lock(sessionsMutex_);
  if (stopping_) {
    ::close(fd);
    return;
  }
  Session& session = sessions_.emplace_back();
  session.fd = fd;
  session.thread = std::thread([this, &session] { Serve(session); });
}

// The session's descriptor is closed only by whoever joins its thread, so
// Stop never shuts down a descriptor that has been reused.
void ServerDaemon::ReapFinishedSessions() {
  std::lock_guard lock(sessionsMutex_);
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (!it->finished) {
      ++it;
      continue;
    }
    it->thread.join();
    CloseFd(it->fd);
    it = sessions_.erase(it);
  }
}

// Whatever one session's input or server object raises ends that session
// only; the reason goes to the log.
void ServerDaemon::Serve(Session& session) {
  AutomationPtr object;
  std::string reason;
  try {
    reason = ServeRequests(session.fd, object);
  } catch (const Exception& error) {
    reason = std::string(error.ClassName()) + ": " + error.Message();
  } catch (const std::exception& error) {
    reason = std::string("Exception: ") + error.what();
  } catch (...) {
    reason = "an unknown exception";
  }
  object.reset();
  ::shutdown(session.fd, SHUT_RDWR);  // the client sees the end at once
  if (!reason.empty()) WriteLog("Session closed: " + reason);
  session.finished = true;
}

std::string ServerDaemon::ServeRequests(int fd, AutomationPtr& object) {
  for (;;) {
    std::string payload;
    switch (wire::ReceiveFrame(fd, payload, maxFrameSize_, std::nullopt)) {
      case wire::FrameStatus::Ok: break;
      case wire::FrameStatus::TooLarge: return "request over the maximum frame size";
      default: return "";  // the client went away or the daemon stops
    }
    Variant request;
    try {
      request = DecodeValue(payload);
    } catch (const EVariantError& error) {
      return error.Message();  // a peer that does not speak the protocol
    }
    if (request.DimCount() != 1 || request.LowBound() != 0 || request.HighBound() < 0 || !request[0].IsText())
      return "request is not a list beginning with a verb";
    Outcome outcome;
    const std::string verb = request[0].ToString();
    if (verb == "open" && IsList(request, 2) && request[1].IsText() && !object) {
      try {
        object = CreateObject(request[1].ToString());
        outcome.reply = Variant::ArrayOf({0, true, Variant(), Variant()});
      } catch (...) {
        outcome = {ReplyToCurrentException(0), false};
      }
    } else if (verb == "call" && IsWellFormedCall(request)) {
      outcome = ServeCall(object.get(), request);
    } else {
      return "unexpected " + verb + " request";
    }
    if (wire::SendFrame(fd, EncodeReply(outcome.reply), std::nullopt) != wire::FrameStatus::Ok)
      return "reply could not be sent";
    if (!outcome.keepOpen) return outcome.reply[2].ToString();
  }
}

void ServerDaemon::WriteLog(const std::string& line) const {
  if (log_)
    log_(line);
  else
    std::fprintf(stderr, "%s\n", line.c_str());
}

void ServerDaemon::Stop() {
  {
    std::lock_guard lock(sessionsMutex_);
    stopping_ = true;
  }
  if (acceptThread_.joinable()) {
    const char wake = 1;
    [[maybe_unused]] auto ignored = ::write(wakePipe_[1], &wake, 1);
    acceptThread_.join();
  }
  CloseFd(listenFd_);
  CloseFd(wakePipe_[0]);
  CloseFd(wakePipe_[1]);
  std::lock_guard lock(sessionsMutex_);
  for (Session& session : sessions_) ::shutdown(session.fd, SHUT_RDWR);
  for (Session& session : sessions_) {
    session.thread.join();
    CloseFd(session.fd);
  }
  sessions_.clear();
  stopping_ = false;
}

}  // namespace qv
