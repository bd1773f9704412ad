#include "platform/system/SystemInfo.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "support/TestSupport.h"

namespace qv {
namespace {

// The ids of the unprivileged user and group, and a user id no account has.
constexpr uid_t kNobody = 65534;
constexpr uid_t kNoAccount = 4123457;

std::string Canonical(const std::string& path) { return std::filesystem::canonical(path).string(); }

TEST(SystemInfo, TempFolderComesFromTmpdir) {
  test::TempDir dir;
  test::ScopedEnv tmpdir("TMPDIR", dir.Path());
  EXPECT_EQ(GetTempFolder(), Canonical(dir.Path()) + "/");
}

TEST(SystemInfo, TempFolderIsCanonical) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "real");
  std::filesystem::create_directory_symlink(dir / "real", dir / "link");
  test::ScopedEnv tmpdir("TMPDIR", dir / "link/../link/");
  EXPECT_EQ(GetTempFolder(), Canonical(dir / "real") + "/");
}

TEST(SystemInfo, TempFolderFallsBackToTmp) {
  const std::string tmp = Canonical("/tmp") + "/";
  for (const char* value : {"/no/such/folder", ""}) {
    SCOPED_TRACE(value);
    test::ScopedEnv tmpdir("TMPDIR", std::string(value));
    EXPECT_EQ(GetTempFolder(), tmp);
  }
  test::ScopedEnv unset("TMPDIR", std::nullopt);
  EXPECT_EQ(GetTempFolder(), tmp);
}

TEST(SystemInfo, TempFolderLongerThanTheLimitIsEmpty) {
  test::ScopedEnv tmpdir("TMPDIR", std::nullopt);
  const std::string tmp = GetTempFolder();
  EXPECT_EQ(GetTempFolder(tmp.size()), tmp);
  EXPECT_EQ(GetTempFolder(tmp.size() - 1), "");
}

TEST(SystemInfo, ComputerNameIsTheHostNameCut) {
  char host[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  const std::string name = GetComputerNameText();
  EXPECT_LE(name.size(), 15u);
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(std::string(host).substr(0, 15), name);
}

TEST(SystemInfo, UserNameIsTheAccountOfTheEffectiveUser) {
  test::ScopedEnv user("USER", "pqlr-not-the-account");
  const passwd* account = getpwuid(geteuid());
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(GetUserNameText(), account->pw_name);
}

TEST(SystemInfo, UserNameWithoutAnAccountComesFromTheEnvironmentCut) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can take a user id without an account";
  ASSERT_EQ(getpwuid(kNoAccount), nullptr);
  test::ScopedEnv user("USER", "a-user-name-of-forty-characters-in-all!!");
  EXPECT_EXIT(
      {
        if (setuid(kNoAccount) != 0) std::_Exit(2);
        std::_Exit(GetUserNameText() == "a-user-name-of-forty-characters" ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(SystemInfo, ExecutableAndModulePaths) {
  const std::string exe = ExecutableFileName();
  EXPECT_EQ(ExtractFileName(exe), "platform_system_tests");
  EXPECT_EQ(exe, Canonical(exe));
  EXPECT_EQ(ExecutableFolder(), ExtractFilePath(exe));
  EXPECT_EQ(ExecutableFolder().back(), '/');
  // The platform is a shared library of its own, beside the program.
  EXPECT_EQ(ThisModuleFileName(), ExecutableFolder() + "libqv_system.so");
  static const int inThisProgram = 0;
  EXPECT_EQ(ModuleFileName(&inThisProgram), exe);
  // A function of the C library lives in its shared object.
  const std::string libc = ModuleFileName(reinterpret_cast<const void*>(&std::getenv));
  EXPECT_NE(libc.find("libc"), std::string::npos) << libc;
  EXPECT_EQ(libc, Canonical(libc));
  int onTheStack = 0;
  EXPECT_EQ(ModuleFileName(&onTheStack), "");
  EXPECT_EQ(ModuleFileName(nullptr), "");
}

TEST(SystemInfo, CodePageOfLocaleNames) {
  const std::pair<const char*, int> cases[] = {
      {"zh_CN.UTF-8", 936}, {"zh_CN.GB2312", 936}, {"zh_SG", 936},      {"zh-cn", 936},
      {"zh_TW.Big5", 950},  {"zh_HK.UTF-8", 950},  {"zh_MO@euro", 950}, {"ZH_TW", 950},
      {"en_US.UTF-8", 437}, {"C", 437},            {"POSIX", 437},      {"", 437},
      {"zh", 437},          {"zh_CNX", 437},       {"de_DE.CP1252", 437},
  };
  for (const auto& [name, codePage] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CodePageOfLocaleName(name), codePage);
  }
}

TEST(SystemInfo, SystemCodePageTakesTheFirstLocaleVariableSet) {
  {
    test::ScopedEnv all("LC_ALL", "zh_TW.UTF-8"), ctype("LC_CTYPE", "zh_CN.UTF-8"), lang("LANG", "C");
    EXPECT_EQ(SystemCodePage(), 950);
  }
  {
    test::ScopedEnv all("LC_ALL", ""), ctype("LC_CTYPE", "zh_CN.UTF-8"), lang("LANG", "zh_TW");
    EXPECT_EQ(SystemCodePage(), 936);
  }
  {
    test::ScopedEnv all("LC_ALL", std::nullopt), ctype("LC_CTYPE", std::nullopt), lang("LANG", "zh_HK");
    EXPECT_EQ(SystemCodePage(), 950);
  }
  test::ScopedEnv all("LC_ALL", std::nullopt), ctype("LC_CTYPE", std::nullopt), lang("LANG", std::nullopt);
  EXPECT_EQ(SystemCodePage(), 437);
}

TEST(PathHelpers, TrailingDelimiter) {
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/qvx"), "/opt/qvx/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/qvx/"), "/opt/qvx/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
}

TEST(PathHelpers, ExtractParts) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"/opt/qvx/OrvaneC.ini", "/opt/qvx/", "OrvaneC.ini"},
      {"/opt/qvx/", "/opt/qvx/", ""},
      {"OrvaneC.ini", "", "OrvaneC.ini"},
      {"/", "/", ""},
      {"", "", ""},
      {"a/b", "a/", "b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFilePath(c.path), c.folder);
    EXPECT_EQ(ExtractFileName(c.path), c.name);
  }
}

TEST(PathHelpers, FilesAndFolders) {
  test::TempDir dir;
  test::WriteFile(dir / "file.txt", "x");
  EXPECT_TRUE(FileExists(dir / "file.txt"));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_TRUE(DirectoryExists(dir.Path() + "/"));
  EXPECT_FALSE(DirectoryExists(dir / "file.txt"));
  EXPECT_FALSE(DirectoryExists(dir / "missing"));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST(PathHelpers, ForceDirectoriesCreatesParents) {
  test::TempDir dir;
  const std::string deep = dir / "a/b/c/";
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_TRUE(ForceDirectories(dir / "a/b/d"));

  test::WriteFile(dir / "file", "x");
  EXPECT_FALSE(ForceDirectories(dir / "file"));
  EXPECT_FALSE(ForceDirectories(dir / "file/below"));
  EXPECT_FALSE(ForceDirectories(""));
}

TEST(PathHelpers, ForceDirectoriesFailsInAFolderItMayNotWrite) {
  test::TempDir dir;
  ASSERT_TRUE(ForceDirectories(dir / "locked"));
  ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  ASSERT_EQ(chmod((dir / "locked").c_str(), 0555), 0);
  // Root may write anywhere: the attempt runs as a user without privileges.
  EXPECT_EXIT(
      {
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) std::_Exit(2);
        std::_Exit(ForceDirectories(dir / "locked/a/b") ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(DirectoryExists(dir / "locked/a"));
}

}  // namespace
}  // namespace qv
