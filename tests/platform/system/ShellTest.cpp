#include "platform/system/Shell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/TestSupport.h"

namespace qv {
namespace {

TEST(Shell, FileUriPercentEncodesAllButUnreservedAndSlash) {
  const struct {
    const char* path;
    const char* uri;
  } cases[] = {
      {"/opt/qvx/PQLR52C.so", "file:///opt/qvx/PQLR52C.so"},
      {"/opt/a b/x,y.so", "file:///opt/a%20b/x%2Cy.so"},  // a comma would split dbus-send's array
      {"/opt/报表.so", "file:///opt/%E6%8A%A5%E8%A1%A8.so"},
      {"/o~p-t_/%#?&'\";.so", "file:///o~p-t_/%25%23%3F%26%27%22%3B.so"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileUri(c.path), c.uri) << c.path;
}

TEST(Shell, FileUriOfARelativePathStartsAtTheCurrentFolder) {
  test::TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const std::string uri = FileUri("PQLR52C.so");
  std::filesystem::current_path(previous);
  EXPECT_EQ(uri, FileUri(std::filesystem::canonical(dir.Path()).string() + "/PQLR52C.so"));
}

TEST(Shell, WithoutDbusSendNothingStarts) {
  test::TempDir empty;
  test::ScopedEnv path("PATH", empty.Path());
  EXPECT_FALSE(ShowItemProperties("/opt/qvx/PQLR52C.so"));
}

// Without a session bus the request fails on its own, out of sight; the
// call neither fails nor waits for it.
TEST(Shell, WithoutSessionBusTheRequestIsHandedOffAndForgotten) {
  if (access("/usr/bin/dbus-send", X_OK) != 0) GTEST_SKIP() << "dbus-send is not installed";
  test::TempDir runtime;
  test::ScopedEnv path("PATH", "/usr/bin:/bin");
  test::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
  test::ScopedEnv display("DISPLAY", std::nullopt);
  test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  test::ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path());
  EXPECT_TRUE(ShowItemProperties("/opt/qvx/PQLR52C.so"));
}

}  // namespace
}  // namespace qv
