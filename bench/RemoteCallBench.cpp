// One request-shaped round trip through TSocketConnection and ServerDaemon
// over loopback TCP, beside a raw ping-pong of the same encoded bytes, so
// the cost of the middleware itself shows as the ratio of the two.

#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/automation/Automation.h"
#include "platform/automation/ServerDaemon.h"
#include "platform/automation/SocketConnection.h"
#include "platform/automation/ValueCodec.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

// A report request: a header and a few hundred rows of conditions.
Variant ReportRequest() {
  std::vector<Variant> rows;
  for (int i = 0; i < 100; ++i)
    rows.push_back(Variant::ArrayOf({Variant::Unicode("字段" + std::to_string(i)), i * 7, 1.5 * i,
                                     std::string("COND_") + std::to_string(i)}));
  return Variant::ArrayOf({"GetReport", Variant::Unicode("销售日报"), Variant::FromDate(45000.0),
                           Variant::ArrayOf(std::move(rows))});
}

class ReportServer : public AutomationObject {
 public:
  Variant Invoke(std::string_view, std::vector<Variant>& args) override { return args.at(0).DimCount(); }
  Variant GetProperty(std::string_view, std::vector<Variant>&) override { return {}; }
  void PutProperty(std::string_view, const Variant&) override {}
};

double remoteNs = 0;
double rawNs = 0;

void Record(double& slot, benchmark::State& state, Clock::time_point start) {
  if (state.iterations() > 0)
    slot = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / state.iterations();
}

void BM_RemoteRequest(benchmark::State& state) {
  ServerDaemon daemon;
  daemon.RegisterObject("Bench.Server", [] { return std::make_shared<ReportServer>(); });
  TSocketConnection connection(nullptr);
  connection.SetPort(daemon.Listen());
  daemon.Start();
  connection.SetServerName("Bench.Server");
  AutomationPtr server = connection.AppServer().ToObject();
  std::vector<Variant> args{ReportRequest()};
  const auto start = Clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(server->Invoke("Request", args));
  Record(remoteNs, state, start);
}

// Frames echoed back unchanged by a bare socket loop.
void Echo(int fd) {
  std::string payload;
  while (wire::ReceiveFrame(fd, payload, wire::kDefaultMaxFrameSize, std::nullopt) == wire::FrameStatus::Ok)
    if (wire::SendFrame(fd, payload, std::nullopt) != wire::FrameStatus::Ok) break;
}

int ConnectLoopback(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

void BM_RawPingPong(benchmark::State& state) {
  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(listener, reinterpret_cast<sockaddr*>(&address), size);
  ::listen(listener, 1);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  std::thread echo([listener] {
    int fd = ::accept(listener, nullptr, nullptr);
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Echo(fd);
    ::close(fd);
  });
  const int fd = ConnectLoopback(ntohs(address.sin_port));
  // The bytes of the same call the remote benchmark sends.
  std::string request;
  EncodeValue(Variant::ArrayOf({"call", 1, 0, "Request", Variant::ArrayOf({ReportRequest()})}), request);
  std::string reply;
  const auto start = Clock::now();
  for (auto _ : state) {
    wire::SendFrame(fd, request, std::nullopt);
    wire::ReceiveFrame(fd, reply, wire::kDefaultMaxFrameSize, std::nullopt);
  }
  Record(rawNs, state, start);
  ::close(fd);
  echo.join();
  ::close(listener);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * request.size() * 2));
}

BENCHMARK(BM_RemoteRequest)->UseRealTime();
BENCHMARK(BM_RawPingPong)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (remoteNs > 0 && rawNs > 0)
    std::printf("remote round trip / raw ping-pong: %.2f (%.1f us / %.1f us; target at most 2.00)\n",
                remoteNs / rawNs, remoteNs / 1000, rawNs / 1000);
  return 0;
}
