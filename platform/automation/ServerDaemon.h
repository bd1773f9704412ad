#pragma once
// The server side of the middleware as a library: a TCP listener that
// serves named automation objects to TSocketConnection clients. Each
// connection gets its own session thread and its own server object, made
// by the registered factory when the client opens it; calls on a session are
// served in order. The wire protocol is described in Middleware.md.
//
//   ServerDaemon daemon;
//   daemon.RegisterObject("AppServer.Session", [] { return std::make_shared<Session>(); });
//   int port = daemon.Listen();          // 127.0.0.1, a free port
//   daemon.Start();
//   ...
//   daemon.Stop();

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/automation/Automation.h"

namespace qv {

class ServerDaemon {
 public:
  ServerDaemon();
  ~ServerDaemon();  // stops
  ServerDaemon(const ServerDaemon&) = delete;
  ServerDaemon& operator=(const ServerDaemon&) = delete;

  // Server names compare without regard to case. Register before Start.
  void RegisterObject(std::string serverName, AutomationFactory factory);

  // Receives one line for each session that ends for a reason other than its
  // client leaving (a malformed request, an error the server object raised
  // at open, anything thrown out of the session), from the session's thread.
  // Without one, the lines go to standard error. Set before Start.
  using LogSink = std::function<void(const std::string& line)>;
  void SetLog(LogSink log) { log_ = std::move(log); }

  // Frames with a larger payload are refused and their session closed.
  void SetMaxFrameSize(std::size_t bytes) { maxFrameSize_ = bytes; }
  std::size_t MaxFrameSize() const { return maxFrameSize_; }

  // Binds and listens; port 0 picks a free port. Returns the bound port.
  // Raises ESocketError when the address cannot be bound.
  int Listen(std::string address = "127.0.0.1", int port = 0);
  // Accepts connections on a thread of its own until Stop.
  void Start();
  // Closes the listener and every session and waits for their threads.
  void Stop();

 private:
  struct Session {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> finished{false};
  };

  void AcceptLoop();
  void StartSession(int fd);
  void Serve(Session& session);
  // Serves one session's requests until it ends; returns why, or nothing
  // when the client left or the daemon stops.
  std::string ServeRequests(int fd, AutomationPtr& object);
  void WriteLog(const std::string& line) const;
  void ReapFinishedSessions();
  AutomationPtr CreateObject(const std::string& serverName) const;

  std::map<std::string, AutomationFactory> factories_;  // by lower-case name
  LogSink log_;
  std::atomic<std::size_t> maxFrameSize_;
  int listenFd_ = -1;
  int wakePipe_[2] = {-1, -1};
  std::thread acceptThread_;
  std::mutex sessionsMutex_;
  std::list<Session> sessions_;
  bool stopping_ = false;  // guarded by sessionsMutex_
};

}  // namespace qv
