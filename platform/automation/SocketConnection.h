#pragma once
// The client side of the middleware: a connection to a server daemon over
// TCP that opens one named server object and calls it late-bound. The wire
// protocol is described in Middleware.md.
//
//   TSocketConnection connection(nullptr);
//   connection.SetPort(port);
//   connection.SetServerName("AppServer.Session");
//   connection.SetConnected(true);
//   Variant server = connection.AppServer();
//   server.ToObject()->Call("Request", {request});
//
// Failures of the connection itself (cannot connect, timed out, closed by
// the server, malformed reply) raise ESocketError and leave the connection
// closed; an error raised by the server object raises EOleError with the
// server's message and keeps the connection open.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/Frames.h"
#include "platform/core/Component.h"
#include "platform/core/Variant.h"

namespace qv {

class SocketChannel;

class TSocketConnection : public TComponent {
  QV_OBJECT(TSocketConnection, TComponent)

  explicit TSocketConnection(TComponent* owner);
  ~TSocketConnection() override;

  const std::string& Address() const;
  void SetAddress(const std::string& address);
  int Port() const;
  void SetPort(int port);
  const std::string& ServerName() const;
  void SetServerName(const std::string& name);
  // Milliseconds allowed for connecting and opening the server object.
  int ConnectTimeout() const;
  void SetConnectTimeout(int milliseconds);
  // Milliseconds allowed for one call, from sending to the whole reply.
  int CallTimeout() const;
  void SetCallTimeout(int milliseconds);
  // The largest reply payload accepted, in bytes.
  int MaxFrameSize() const;
  void SetMaxFrameSize(int bytes);

  bool Connected() const;
  // True opens, false closes. While loading, opening waits for Loaded.
  void SetConnected(bool connected);
  void Open();
  void Close();

  // The server object as an automation value. Its calls go over this
  // connection; once the connection closes they raise ESocketError.
  Variant AppServer();

 protected:
  void Loaded() override;

 private:
  std::string address_ = "127.0.0.1";
  int port_ = 0;
  std::string serverName_;
  int connectTimeout_ = 5000;
  std::shared_ptr<SocketChannel> channel_;
  bool streamedConnected_ = false;
};

// Frames on a connected stream socket: a 4-byte big-endian payload length,
// then the payload. Shared by the connection and the server daemon.

}  // namespace qv
