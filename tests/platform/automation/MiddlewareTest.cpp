#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <random>
#include <thread>

#include "platform/automation/Automation.h"
#include "platform/automation/ServerDaemon.h"
#include "platform/automation/SocketConnection.h"
#include "platform/automation/ValueCodec.h"
#include "platform/core/Exception.h"
#include "support/RawServer.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;
using test::RawServer;
constexpr int kConnectTimeout = 300;
constexpr int kCallTimeout = 300;
// Slack on top of a timeout, generous so that a busy machine does not fail
// a test whose point is that nothing hangs.
constexpr auto kSlack = std::chrono::milliseconds(2000);

// The server object of the tests.
class TestServer : public AutomationObject {
 public:
  Variant Invoke(std::string_view member, std::vector<Variant>& args) override {
    if (member == "Echo") {
      // Returns the first argument and marks the second as changed.
      args.at(1) = Variant::Unicode("已修改:" + args.at(1).ToString());
      return args.at(0);
    }
    if (member == "Fail") throw EConvertError("'abc' is not a valid integer value");
    if (member == "Sleep") {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(args.at(0).ToInt(), 2000)));
      return true;
    }
    if (member == "Self") return Variant(AutomationPtr(std::make_shared<TestServer>()));
    if (member == "ThrowInt") throw 42;
    if (member == "ThrowStd") throw std::runtime_error("vector::_M_range_check");
    if (member == "Grow") {
      // Changes its one argument and adds many of its own.
      args.at(0) = "grown";
      args.resize(1000, Variant::Unicode(std::string(100, 'x')));
      return static_cast<int>(args.size());
    }
    if (member == "Assign") {
      args.at(0) = args.at(1);
      return Variant();
    }
    throw EOleError("Unknown member " + std::string(member));
  }
  Variant GetProperty(std::string_view name, std::vector<Variant>& args) override {
    if (name == "Counter") return counter_;
    if (name == "Item") return args.at(0).ToInt() * 10;
    throw EOleError("Unknown property " + std::string(name));
  }
  void PutProperty(std::string_view name, const Variant& value) override {
    if (name != "Counter") throw EOleError("Unknown property " + std::string(name));
    counter_ = value.ToInt();
  }

 private:
  int counter_ = 0;
};

void Configure(TSocketConnection& connection, int port, const std::string& serverName = "Test.Server") {
  connection.SetAddress("127.0.0.1");
  connection.SetPort(port);
  connection.SetServerName(serverName);
  connection.SetConnectTimeout(kConnectTimeout);
  connection.SetCallTimeout(kCallTimeout);
}

// Runs action and expects error E whose message starts with prefix, well
// within the given time.
template <class E>
void ExpectError(const std::function<void()>& action, const std::string& prefix, std::chrono::milliseconds within) {
  const auto start = Clock::now();
  try {
    action();
    ADD_FAILURE() << "no error, expected " << prefix;
  } catch (const E& error) {
    EXPECT_EQ(error.Message().rfind(prefix, 0), 0u) << error.Message();
  } catch (const Exception& error) {
    ADD_FAILURE() << error.ClassName() << ": " << error.Message() << ", expected " << prefix;
  }
  EXPECT_LT(Clock::now() - start, within + kSlack);
}

class MiddlewareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    daemon_.RegisterObject("Test.Server", [] { return std::make_shared<TestServer>(); });
    daemon_.SetLog([this](const std::string& line) {
      std::lock_guard lock(logMutex_);
      log_.push_back(line);
    });
    port_ = daemon_.Listen();
    daemon_.Start();
    Configure(connection_, port_);
  }

  AutomationPtr Server() { return connection_.AppServer().ToObject(); }

  // The daemon's log once it has the given number of lines, or as it is
  // after two seconds.
  std::vector<std::string> LogOf(std::size_t lines) {
    const auto until = Clock::now() + std::chrono::seconds(2);
    for (;;) {
      {
        std::lock_guard lock(logMutex_);
        if (log_.size() >= lines || Clock::now() > until) return log_;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  std::mutex logMutex_;
  std::vector<std::string> log_;
  ServerDaemon daemon_;
  int port_ = 0;
  TSocketConnection connection_{nullptr};
};

TEST_F(MiddlewareTest, CallsCarryResultsAndByReferenceArguments) {
  connection_.SetConnected(true);
  ASSERT_TRUE(connection_.Connected());
  Variant nested = Variant::Array2(-1, 0, 3, 4);
  nested.At(-1, 3) = Variant::ArrayOf({Variant::Unicode("制表日期"), 2.5, Variant::Null()});
  nested.At(0, 4) = std::string("\xd6\xd0");
  std::vector<Variant> args{nested, Variant::Unicode("报表")};
  const Variant result = Server()->Invoke("Echo", args);
  ASSERT_EQ(result.DimCount(), 2);
  EXPECT_EQ(result.LowBound(1), -1);
  EXPECT_EQ(result.At(-1, 3)[0].Type(), VarType::UString);
  EXPECT_EQ(result.At(-1, 3)[0].ToString(), "制表日期");
  EXPECT_EQ(result.At(0, 4).Type(), VarType::String);
  EXPECT_TRUE(result == nested);
  EXPECT_EQ(args[1].Type(), VarType::UString);
  EXPECT_EQ(args[1].ToString(), "已修改:报表");
}

TEST_F(MiddlewareTest, PropertiesAreReadAndWrittenOnOneServerObject) {
  AutomationPtr server = Server();
  server->PutProperty("Counter", 41);
  EXPECT_EQ(server->Get("Counter").ToInt(), 41);
  std::vector<Variant> index{7};
  EXPECT_EQ(server->GetProperty("Item", index).ToInt(), 70);
}

TEST_F(MiddlewareTest, EachConnectionHasItsOwnServerObject) {
  Server()->PutProperty("Counter", 5);
  TSocketConnection other(nullptr);
  Configure(other, port_);
  EXPECT_EQ(other.AppServer().ToObject()->Get("Counter").ToInt(), 0);
  EXPECT_EQ(Server()->Get("Counter").ToInt(), 5);
}

TEST_F(MiddlewareTest, AnErrorInAMemberBecomesAnOleErrorAndTheConnectionStays) {
  AutomationPtr server = Server();
  ExpectError<EOleError>([&] { server->Call("Fail"); }, "'abc' is not a valid integer value",
                         std::chrono::milliseconds(kCallTimeout));
  EXPECT_TRUE(connection_.Connected());
  ExpectError<EOleError>([&] { server->Call("Self"); }, "An automation object cannot be encoded",
                         std::chrono::milliseconds(kCallTimeout));
  server->PutProperty("Counter", 3);
  EXPECT_EQ(server->Get("Counter").ToInt(), 3);
}

TEST_F(MiddlewareTest, UnknownServerNameIsRefusedOnOpen) {
  connection_.SetServerName("No.Such.Server");
  ExpectError<EOleError>([&] { connection_.Open(); }, "Unknown server name: No.Such.Server",
                         std::chrono::milliseconds(kConnectTimeout));
  EXPECT_FALSE(connection_.Connected());
}

TEST_F(MiddlewareTest, ACallLongerThanTheTimeoutTimesOutAndCloses) {
  AutomationPtr server = Server();
  ExpectError<ESocketError>([&] { server->Call("Sleep", {kCallTimeout + 300}); }, "Call to Sleep timed out",
                            std::chrono::milliseconds(kCallTimeout));
  EXPECT_FALSE(connection_.Connected());
  ExpectError<ESocketError>([&] { server->Get("Counter"); }, "Not connected", std::chrono::milliseconds(0));
}

TEST_F(MiddlewareTest, StoppingTheDaemonClosesTheConnection) {
  AutomationPtr server = Server();
  daemon_.Stop();
  ExpectError<ESocketError>([&] { server->Get("Counter"); }, "Connection closed by the server",
                            std::chrono::milliseconds(kCallTimeout));
  EXPECT_FALSE(connection_.Connected());
}

TEST_F(MiddlewareTest, ARequestOverTheDaemonsMaximumEndsTheSession) {
  daemon_.SetMaxFrameSize(1024);
  AutomationPtr server = Server();
  ExpectError<ESocketError>([&] { server->Call("Echo", {std::string(4096, 'x'), ""}); },
                            "Connection closed by the server", std::chrono::milliseconds(kCallTimeout));
  EXPECT_FALSE(connection_.Connected());
}

TEST(MiddlewareDownTest, NothingListeningFailsQuickly) {
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), size), 0);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(probe);  // the port is now free and nothing listens on it
  const int port = ntohs(address.sin_port);
  TSocketConnection connection(nullptr);
  Configure(connection, port);
  ExpectError<ESocketError>([&] { connection.SetConnected(true); },
                            "Cannot connect to 127.0.0.1:" + std::to_string(port) + ": ",
                            std::chrono::milliseconds(kConnectTimeout));
  EXPECT_FALSE(connection.Connected());
}

wire::Deadline Soon() { return Clock::now() + std::chrono::seconds(2); }

std::string Read(int fd) {
  std::string payload;
  wire::ReceiveFrame(fd, payload, wire::kDefaultMaxFrameSize, Soon());
  return payload;
}

void Send(int fd, const Variant& value) {
  std::string payload;
  EncodeValue(value, payload);
  wire::SendFrame(fd, payload, Soon());
}

// Answers the open request as the daemon would, then reads the call.
void OpenThenReadCall(int fd) {
  Read(fd);
  Send(fd, Variant::ArrayOf({0, true, Variant(), Variant()}));
  Read(fd);
}

void SendRaw(int fd, const std::string& bytes) { wire::SendFrame(fd, bytes, Soon()); }

std::string Hex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

std::string RandomBytes(unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(64 + seed % 200, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

struct RawCase {
  const char* label;
  RawServer::Behaviour behaviour;
  const char* expected;
};

TEST(MiddlewareRawServerTest, EveryBrokenServerEndsInItsErrorWithinTheTimeout) {
  const RawCase cases[] = {
      {"closes mid-call", OpenThenReadCall, "Connection closed by the server"},
      {"random reply 1", [](int fd) { OpenThenReadCall(fd); SendRaw(fd, RandomBytes(1)); },
       "Malformed reply from the server"},
      {"random reply 2", [](int fd) { OpenThenReadCall(fd); SendRaw(fd, RandomBytes(2)); },
       "Malformed reply from the server"},
      {"random reply 3", [](int fd) { OpenThenReadCall(fd); SendRaw(fd, RandomBytes(3)); },
       "Malformed reply from the server"},
      {"frame over the maximum",
       [](int fd) {
         OpenThenReadCall(fd);
         ::send(fd, "\x00\x10\x00\x01", 4, MSG_NOSIGNAL);  // 1 MiB + 1 announced
       },
       "Malformed reply from the server"},
      {"reply to another call",
       [](int fd) {
         OpenThenReadCall(fd);
         Send(fd, Variant::ArrayOf({99, true, 1, Variant::ArrayOf({})}));
       },
       "Malformed reply from the server"},
      {"changed arguments that are not pairs",
       [](int fd) {
         OpenThenReadCall(fd);
         Send(fd, Variant::ArrayOf({1, true, 1, Variant::ArrayOf({1, 2})}));
       },
       "Malformed reply from the server"},
      {"a change of an argument the call did not have",
       [](int fd) {
         OpenThenReadCall(fd);
         Send(fd, Variant::ArrayOf({1, true, 1, Variant::ArrayOf({Variant::ArrayOf({5, "x"})})}));
       },
       "Malformed reply from the server"},
      {"a reply at the lowest int bound",
       [](int fd) {
         OpenThenReadCall(fd);
         SendRaw(fd, Hex("0901000000800000008000"));
       },
       "Malformed reply from the server"},
      {"a good change, then one whose index is text",
       [](int fd) {
         OpenThenReadCall(fd);
         Send(fd, Variant::ArrayOf(
                      {1, true, 1, Variant::ArrayOf({Variant::ArrayOf({0, "x"}), Variant::ArrayOf({"abc", "x"})})}));
       },
       "Malformed reply from the server"},
      {"a change whose index is a real",
       [](int fd) {
         OpenThenReadCall(fd);
         Send(fd, Variant::ArrayOf({1, true, 1, Variant::ArrayOf({Variant::ArrayOf({0.25, "x"})})}));
       },
       "Malformed reply from the server"},
      {"silent", [](int fd) { OpenThenReadCall(fd); Read(fd); }, "Call to Echo timed out"},
  };
  for (const RawCase& c : cases) {
    SCOPED_TRACE(c.label);
    RawServer server(c.behaviour);
    TSocketConnection connection(nullptr);
    Configure(connection, server.Port());
    connection.SetMaxFrameSize(1024 * 1024);
    connection.SetConnected(true);
    AutomationPtr remote = connection.AppServer().ToObject();
    std::vector<Variant> args{1};
    ExpectError<ESocketError>([&] { remote->Invoke("Echo", args); }, c.expected,
                              std::chrono::milliseconds(kCallTimeout));
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(args[0].ToInt(), 1);
    // Closed for good: the next call fails at once instead of waiting on the old session.
    ExpectError<ESocketError>([&] { remote->Call("Echo", {1}); }, "Not connected to the server",
                              std::chrono::milliseconds(0));
  }
}

TEST(MiddlewareRawServerTest, CallIdsStartAtOneOnEveryConnection) {
  // Each server answers the open and one call, and keeps that call's id.
  std::int64_t ids[2] = {-1, -1};
  const auto answerOneCall = [](std::int64_t& id) {
    return [&id](int fd) {
      Read(fd);
      Send(fd, Variant::ArrayOf({0, true, Variant(), Variant()}));
      id = DecodeValue(Read(fd))[1].ToInt64();
      Send(fd, Variant::ArrayOf({id, true, 1, Variant::ArrayOf({})}));
    };
  };
  RawServer first(answerOneCall(ids[0])), second(answerOneCall(ids[1]));
  TSocketConnection connection(nullptr);
  for (const RawServer* server : {&first, &second}) {
    Configure(connection, server->Port());
    connection.SetConnected(true);
    std::vector<Variant> args;
    connection.AppServer().ToObject()->Invoke("Echo", args);
    connection.SetConnected(false);
  }
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(ids[1], 1);
}

TEST(MiddlewareRawServerTest, ABrokenServerFailsTheOpenWithinTheConnectTimeout) {
  const RawCase cases[] = {
      {"closes at once", [](int) {}, "Connection closed by the server"},
      {"silent", [](int fd) { Read(fd); Read(fd); }, "Opening Test.Server timed out"},
      {"garbage", [](int fd) { Read(fd); SendRaw(fd, RandomBytes(4)); }, "Malformed reply from the server"},
  };
  for (const RawCase& c : cases) {
    SCOPED_TRACE(c.label);
    RawServer server(c.behaviour);
    TSocketConnection connection(nullptr);
    Configure(connection, server.Port());
    ExpectError<ESocketError>([&] { connection.Open(); }, c.expected, std::chrono::milliseconds(kConnectTimeout));
    EXPECT_FALSE(connection.Connected());
  }
}


// A client socket on the daemon that sends bytes as they are given.
int ConnectRaw(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  return fd;
}

TEST_F(MiddlewareTest, ABrokenRequestEndsOnlyItsOwnSessionWithALoggedReason) {
  AutomationPtr server = Server();
  server->PutProperty("Counter", 7);
  const struct {
    const char* label;
    std::string frame;
    const char* reason;
  } cases[] = {
      {"one element at the lowest int bound", Hex("0000000b0901000000800000008000"),
       "Session closed: request is not a list beginning with a verb"},
      {"whole int range beside an empty dimension",
       Hex("00000012" "0902" "00000080" "ffffff7f" "00000000" "ffffffff"),
       "Session closed: Malformed value: array bounds -2147483648..2147483647"},
      {"unknown tag", Hex("0000000108"), "Session closed: Malformed value: unknown tag 8"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].label);
    const int fd = ConnectRaw(port_);
    ::send(fd, cases[i].frame.data(), cases[i].frame.size(), MSG_NOSIGNAL);
    std::string reply;
    EXPECT_EQ(wire::ReceiveFrame(fd, reply, wire::kDefaultMaxFrameSize, Soon()), wire::FrameStatus::Closed);
    ::close(fd);
    const std::vector<std::string> log = LogOf(i + 1);
    ASSERT_EQ(log.size(), i + 1);
    EXPECT_EQ(log[i].rfind(cases[i].reason, 0), 0u) << log[i];
  }
  EXPECT_EQ(server->Get("Counter").ToInt(), 7);
  TSocketConnection other(nullptr);
  Configure(other, port_);
  EXPECT_EQ(other.AppServer().ToObject()->Get("Counter").ToInt(), 0);
}

TEST_F(MiddlewareTest, WhateverAMemberThrowsBecomesAFailureReply) {
  AutomationPtr server = Server();
  ExpectError<EOleError>([&] { server->Call("ThrowInt"); }, "The server object raised an unknown exception",
                         std::chrono::milliseconds(kCallTimeout));
  ExpectError<EOleError>([&] { server->Call("ThrowStd"); }, "vector::_M_range_check",
                         std::chrono::milliseconds(kCallTimeout));
  EXPECT_TRUE(connection_.Connected());
  server->PutProperty("Counter", 2);
  EXPECT_EQ(server->Get("Counter").ToInt(), 2);
}

TEST_F(MiddlewareTest, AFactoryThatThrowsFailsTheOpenAndTheDaemonGoesOn) {
  daemon_.Stop();
  daemon_.RegisterObject("Throws.Std", []() -> AutomationPtr { throw std::runtime_error("out of licences"); });
  daemon_.RegisterObject("Throws.Int", []() -> AutomationPtr { throw 42; });
  port_ = daemon_.Listen();
  daemon_.Start();
  const struct {
    const char* serverName;
    const char* message;
  } cases[] = {
      {"Throws.Std", "out of licences"},
      {"Throws.Int", "The server object raised an unknown exception"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serverName);
    TSocketConnection connection(nullptr);
    Configure(connection, port_, c.serverName);
    ExpectError<EOleError>([&] { connection.Open(); }, c.message, std::chrono::milliseconds(kConnectTimeout));
    EXPECT_FALSE(connection.Connected());
  }
  Configure(connection_, port_);
  EXPECT_EQ(Server()->Get("Counter").ToInt(), 0);
}

// A member that assigns its second argument to its first: the caller must get
// the new value even where the loose comparison calls it equal to the old.
TEST_F(MiddlewareTest, EveryChangeOfAByReferenceArgumentComesBack) {
  const struct {
    const char* label;
    Variant before, after;
  } cases[] = {
      {"2^53 + 1 to 2^53", 9007199254740993LL, 9007199254740992LL},
      {"integer to real", 1, 1.0},
      {"narrow to Unicode", "abc", Variant::Unicode("abc")},
      {"-1 to true", -1, true},
      {"real to date", 2.0, Variant::FromDate(2.0)},
  };
  AutomationPtr server = Server();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<Variant> args{c.before, c.after};
    server->Invoke("Assign", args);
    EXPECT_EQ(args[0].Type(), c.after.Type());
    EXPECT_TRUE(Identical(args[0], c.after)) << args[0].ToString();
  }
  std::vector<Variant> nested{Variant::ArrayOf({1, Variant::ArrayOf({"a"})}),
                              Variant::ArrayOf({1, Variant::ArrayOf({Variant::Unicode("a")})})};
  server->Invoke("Assign", nested);
  EXPECT_EQ(nested[0][1][0].Type(), VarType::UString);
}

TEST_F(MiddlewareTest, ArgumentsAMemberAddsStayOnTheServer) {
  std::vector<Variant> args{"before"};
  EXPECT_EQ(Server()->Invoke("Grow", args).ToInt(), 1000);
  ASSERT_EQ(args.size(), 1u);
  EXPECT_EQ(args[0].ToString(), "grown");
}

}  // namespace
}  // namespace qv
