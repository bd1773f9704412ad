// The plug-in's report form reaching the job service over the network: a
// server daemon on a loopback address other than 127.0.0.1 (which names the
// in-process server), and servers that are down or answer garbage. A
// failing server ends in "E;000006" and a closed form, never in a hang.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "platform/automation/ServerDaemon.h"
#include "platform/ui/Application.h"
#include "plugin/PluginHost.h"
#include "support/JobServiceDouble.h"
#include "support/RawServer.h"

namespace qv::test {
namespace {

constexpr const char* kRemoteLoopback = "127.0.0.2";

class PluginRemoteTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    UseReportForm(true);
  }
  void PointAt(int port) {
    WriteFile(install.Folder("client") + "/OrvaneC.ini", std::string("[Server Information]\nComputerName=") +
                                                             kRemoteLoopback + "\nServerPort=" +
                                                             std::to_string(port) + "\n");
  }
  static Variant Session(bool& local) { return ReportFixture().Entry<FixtureSessionFn>("FixtureSession")(&local); }
};

TEST_F(PluginRemoteTest, SessionOverTheNetworkReachesTheJobService) {
  auto service = std::make_shared<JobServiceDouble>();
  service->Rights = Variant::ArrayOf({"", "Y,N,N,YYYYYYYY,,", "", "", "", Variant::ArrayOf({0})});
  ServerDaemon daemon;
  daemon.RegisterObject(JobServiceProgID, [service] { return service; });
  PointAt(daemon.Listen(kRemoteLoopback));
  daemon.Start();

  ControllerPtr controller = HostController();
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);
  bool local = true;
  const Variant session = Session(local);
  EXPECT_FALSE(local);
  ASSERT_NE(session.ToObject(), nullptr);
  const Variant rights =
      session.ToObject()->Call("GetPower", {Variant::ArrayOf({"DB", "U01", "PQLR52", ""})});
  EXPECT_EQ(rights, service->Rights);
  EXPECT_EQ(service->CallsOf("GetPower").size(), 1u);
}

void SendGarbage(int fd) {
  char request[64];
  [[maybe_unused]] const auto received = ::recv(fd, request, sizeof request, 0);
  const char garbage[] = "\x00\x00\x00\x08HTTP/1.1";
  ::send(fd, garbage, sizeof garbage - 1, MSG_NOSIGNAL);
}

void HangUp(int) {}

TEST_F(PluginRemoteTest, ServerThatFailsTheOpeningReportsNoSessionAndClosesTheForm) {
  const struct {
    const char* label;
    void (*reply)(int fd);
  } cases[] = {{"garbage", SendGarbage}, {"hangs up", HangUp}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    RawServer server(c.reply, 0x7F000002);  // 127.0.0.2
    PointAt(server.Port());
    host->Calls.clear();
    events.clear();
    ControllerPtr controller = HostController();
    EXPECT_EQ(controller->CreateForm(HostParams()), -1);
    EXPECT_TRUE(Asked("E;000006"));
    Application().ProcessMessages();
    EXPECT_TRUE(controller->FormGone());
    EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormDestroyedEvent}));
  }
}

TEST_F(PluginRemoteTest, NothingListeningReportsNoSession) {
  int port = 0;
  {
    ServerDaemon probe;  // takes a free port, then gives it up
    port = probe.Listen(kRemoteLoopback);
  }
  PointAt(port);
  ControllerPtr controller = HostController();
  EXPECT_EQ(controller->CreateForm(HostParams()), -1);
  EXPECT_TRUE(Asked("E;000006"));
}

}  // namespace
}  // namespace qv::test
