// The application server session: the connection configured from the
// client installation's server list, and the session opened in-process for
// "127.0.0.1" or over the socket connection to a server daemon otherwise.
#include <gtest/gtest.h>

#include "forms/SessionFormTest.h"
#include "platform/automation/ServerDaemon.h"
#include "platform/automation/SocketConnection.h"
#include "support/JobServiceDouble.h"

namespace qv::test {
namespace {

// Another loopback address than "127.0.0.1", so the session goes over the network.
constexpr const char* kRemoteLoopback = "127.0.0.2";

class SessionConnectionTest : public SessionFormTest {
 protected:
  // A form whose client configuration names this server.
  void Configure(const std::string& address, int port) {
    MakeForm("936", "[Server Information]\nComputerName=" + address + "\nServerPort=" + std::to_string(port) + "\n");
  }
  bool ConfigureAndOpen() {
    if (!form->ConfigureConnection(form->MainMidas)) return false;
    form->MainMidas->SetServerName(JobServiceProgID);
    return form->OpenSession();
  }
  std::string SessionRequest() {
    return form->AppServer.ToObject()->Call("Request", {Variant::ArrayOf({Variant("job")})}).ToString();
  }
};

TEST_F(SessionConnectionTest, ConnectionTakesTheFirstServerOfTheList) {
  MakeForm("936", "[Server Information]\nComputerName=10.0.0.5;10.0.0.6\nServerPort=4211\n");
  EXPECT_TRUE(form->ConfigureConnection(form->MainMidas));
  EXPECT_EQ(form->MainMidas->Address(), "10.0.0.5");
  EXPECT_EQ(form->MainMidas->Port(), 4211);
}

TEST_F(SessionConnectionTest, EmptyServerListLeavesTheConnectionAsItWas) {
  MakeForm("936", "[Server Information]\nComputerName=\n");
  form->MainMidas->SetAddress("192.0.2.7");
  EXPECT_TRUE(form->ConfigureConnection(form->MainMidas));
  EXPECT_EQ(form->MainMidas->Address(), "192.0.2.7");
}

TEST_F(SessionConnectionTest, EarlierRecordIsReportedAgainAndStopsTheConfiguration) {
  host->Templates["E;000038"] = "参数不足[%s]";
  form->ReportMessage("E;000038");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_FALSE(form->ConfigureConnection(form->MainMidas));
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[1].message, "参数不足[ ]");  // the record "E;000038; " as it was
  EXPECT_EQ(form->ErrorCodes, "E;000038; E;000038; ; ");
}

TEST_F(SessionConnectionTest, LocalAddressCreatesTheServerObjectInProcess) {
  ScopedJobService service;
  Configure("127.0.0.1", 211);
  ASSERT_TRUE(ConfigureAndOpen()) << form->ErrorTexts;
  EXPECT_TRUE(form->LocalServer);
  EXPECT_FALSE(form->MainMidas->Connected());
  EXPECT_EQ(form->AppServer.ToObject().get(), service.Shared().get());
}

TEST_F(SessionConnectionTest, RemoteAddressOpensTheSessionOverTheConnection) {
  auto service = std::make_shared<JobServiceDouble>();
  ServerDaemon daemon;
  daemon.RegisterObject(JobServiceProgID, [service] { return service; });
  const int port = daemon.Listen(kRemoteLoopback);
  daemon.Start();
  Configure(kRemoteLoopback, port);
  ASSERT_TRUE(ConfigureAndOpen()) << form->ErrorTexts;
  EXPECT_FALSE(form->LocalServer);
  EXPECT_TRUE(form->MainMidas->Connected());
  EXPECT_EQ(SessionRequest(), "J0000001");
  EXPECT_EQ(service->Requests.size(), 1u);
  form->MainMidas->SetConnected(false);
  daemon.Stop();
}

TEST_F(SessionConnectionTest, ServerNotListeningIsRecordedAsFreeText) {
  int port = 0;
  {
    ServerDaemon probe;  // a port that was free a moment ago and is closed now
    port = probe.Listen(kRemoteLoopback);
  }
  Configure(kRemoteLoopback, port);
  EXPECT_FALSE(ConfigureAndOpen());
  EXPECT_TRUE(form->AppServer.IsEmpty());
  EXPECT_EQ(form->ErrorCodes, "E;-1; ");
  EXPECT_NE(form->ErrorTexts.find("Cannot connect"), std::string::npos) << form->ErrorTexts;
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SessionConnectionTest, UnknownLocalServerIsRecordedAsFreeText) {
  Configure("127.0.0.1", 211);
  ASSERT_TRUE(form->ConfigureConnection(form->MainMidas));
  form->MainMidas->SetServerName("NoSuch.Server");
  EXPECT_FALSE(form->OpenSession());
  EXPECT_TRUE(form->AppServer.IsEmpty());
  EXPECT_EQ(form->ErrorCodes, "E;-1; ");
  EXPECT_EQ(form->ErrorTexts, "Invalid class string; ");
}

TEST_F(SessionConnectionTest, ServerObjectTheDaemonDoesNotServeIsRecorded) {
  ServerDaemon daemon;
  daemon.RegisterObject("Other.Server", [] { return std::make_shared<JobServiceDouble>(); });
  const int port = daemon.Listen(kRemoteLoopback);
  daemon.Start();
  Configure(kRemoteLoopback, port);
  EXPECT_FALSE(ConfigureAndOpen());
  EXPECT_EQ(form->ErrorCodes, "E;-1; ");
  EXPECT_FALSE(form->ErrorTexts.empty());
  daemon.Stop();
}

}  // namespace
}  // namespace qv::test
