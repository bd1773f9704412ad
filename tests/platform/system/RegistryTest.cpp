#include "platform/system/Registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char* const kRegistry =
    "; the machine's registry\r\n"
    "# written by the installer\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\QVX\\Orvane]\r\n"
    "ClientPath=/opt/qvx/client/\r\n"
    "ProfileType=0\r\n"
    "Odd = spaced value \r\n"
    "Formula=a=b=c\r\n"
    "Empty=\r\n"
    "line without equals sign\r\n"
    "\r\n"
    "ClientPath=/second/occurrence/\r\n"
    "[HKEY_CURRENT_USER\\Software\\QVX\\Orvane]\r\n"
    "ClientPath=/home/user/client/\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Classes\\QvLanguage.Translator]\n"
    "Library=Qvlanguage.so\n"
    "[hkey_local_machine\\SOFTWARE\\qvx\\orvane]\n"
    "ServerPath=/opt/qvx/server/\n"
    "profiletype=1\n";

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() { test::WriteFile(file_, kRegistry); }

  test::TempDir dir_;
  std::string file_ = dir_ / "registry";
  test::ScopedEnv env_{"QVX_REGISTRY_FILE", file_};
};

TEST_F(RegistryTest, ReadsValuesOfAnOpenKey) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  EXPECT_TRUE(registry.IsOpen());
  EXPECT_EQ(registry.ReadString("ClientPath"), "/opt/qvx/client/");
  EXPECT_EQ(registry.ReadString("ProfileType"), "0");
  EXPECT_EQ(registry.ReadString("Odd"), "spaced value");
  EXPECT_EQ(registry.ReadString("Formula"), "a=b=c");
  EXPECT_TRUE(registry.ValueExists("Empty"));
  EXPECT_EQ(registry.ReadString("Empty"), "");
  EXPECT_FALSE(registry.ValueExists("Missing"));
  EXPECT_EQ(registry.ReadString("Missing"), "");
}

TEST_F(RegistryTest, BlanksAroundNamesAndValuesAreIgnored) {
  const struct {
    const char* line;
    const char* text;
  } cases[] = {
      {"ClientPath = /x", "/x"},
      {"ClientPath=\t/x\t", "/x"},
      {"  ClientPath  =/x  \r", "/x"},
      {"ClientPath=/my folder/", "/my folder/"},  // blanks inside the text stay
      {"ClientPath =  ", ""},
  };
  for (const auto& c : cases) {
    test::WriteFile(file_, std::string("[HKEY_LOCAL_MACHINE\\Software\\QVX\\Orvane]\n") + c.line + "\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane")) << c.line;
    EXPECT_TRUE(registry.ValueExists("ClientPath")) << c.line;
    EXPECT_EQ(registry.ReadString("ClientPath"), c.text) << c.line;
  }
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndFirstValueWins) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("\\software\\qvx\\ORVANE"));
  EXPECT_EQ(registry.ReadString("CLIENTPATH"), "/opt/qvx/client/");
  // The second section of the same key adds values but overrides none.
  EXPECT_EQ(registry.ReadString("ServerPath"), "/opt/qvx/server/");
  EXPECT_EQ(registry.ReadString("ProfileType"), "0");
  EXPECT_THAT(registry.GetValueNames(),
              ElementsAre("ClientPath", "ProfileType", "Odd", "Formula", "Empty", "ServerPath"));
}

TEST_F(RegistryTest, RootsAreSeparate) {
  TRegistry user(RootKey::CurrentUser);
  ASSERT_TRUE(user.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  EXPECT_EQ(user.ReadString("ClientPath"), "/home/user/client/");
  EXPECT_FALSE(user.ValueExists("ProfileType"));

  TRegistry users(RootKey::Users);
  EXPECT_FALSE(users.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  TRegistry classes(RootKey::ClassesRoot);
  EXPECT_FALSE(classes.OpenKeyReadOnly("QvLanguage.Translator"));

  TRegistry machine;
  EXPECT_EQ(machine.Root(), RootKey::LocalMachine);
  ASSERT_TRUE(machine.OpenKeyReadOnly("Software\\Classes\\QvLanguage.Translator"));
  EXPECT_EQ(machine.ReadString("Library"), "Qvlanguage.so");
}

TEST_F(RegistryTest, MissingKeysDoNotOpen) {
  TRegistry registry;
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\QVX\\Other"));
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane\\Deeper"));
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\QVX\\Orv"));
  EXPECT_FALSE(registry.IsOpen());
}

TEST_F(RegistryTest, ParentKeysExistWithoutValues) {
  TRegistry registry;
  EXPECT_TRUE(registry.KeyExists("Software\\QVX"));
  EXPECT_TRUE(registry.KeyExists("SOFTWARE"));
  EXPECT_TRUE(registry.KeyExists("Software\\QVX\\Orvane\\"));
  EXPECT_FALSE(registry.KeyExists("Software\\QV"));
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX"));
  EXPECT_THAT(registry.GetValueNames(), IsEmpty());
}

TEST_F(RegistryTest, ClosedKeyReadsNothing) {
  TRegistry registry;
  EXPECT_EQ(registry.ReadString("ClientPath"), "");
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  registry.CloseKey();
  EXPECT_FALSE(registry.IsOpen());
  EXPECT_FALSE(registry.ValueExists("ClientPath"));
  EXPECT_EQ(registry.ReadString("ClientPath"), "");
  EXPECT_THAT(registry.GetValueNames(), IsEmpty());
}

TEST_F(RegistryTest, FailedOpenKeepsTheOpenKey) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\Nothing"));
  EXPECT_EQ(registry.CurrentPath(), "Software\\QVX\\Orvane");
  EXPECT_EQ(registry.ReadString("ProfileType"), "0");
}

TEST_F(RegistryTest, FileIsReadAtEachOpen) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  test::WriteFile(file_, "[HKEY_LOCAL_MACHINE\\Software\\QVX\\Orvane]\nClientPath=/changed/\n");
  // The open key is a snapshot ...
  EXPECT_EQ(registry.ReadString("ClientPath"), "/opt/qvx/client/");
  // ... and the next open sees the new file, as does another file.
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  EXPECT_EQ(registry.ReadString("ClientPath"), "/changed/");

  const std::string other = dir_ / "other";
  test::WriteFile(other, "\xEF\xBB\xBF[HKEY_LOCAL_MACHINE\\Software\\Other]\nName=其他\n");
  test::ScopedEnv switched("QVX_REGISTRY_FILE", other);
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Other"));
  EXPECT_EQ(registry.ReadString("name"), "其他");
}

TEST_F(RegistryTest, MissingFileIsAKeyThatCannotBeOpened) {
  test::ScopedEnv missing("QVX_REGISTRY_FILE", dir_ / "no-such-file");
  TRegistry registry;
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
  EXPECT_FALSE(registry.KeyExists("Software"));
  test::ScopedEnv folder("QVX_REGISTRY_FILE", dir_.Path());
  EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\QVX\\Orvane"));
}

TEST(RegistryFile, PathComesFromTheEnvironment) {
  {
    test::ScopedEnv unset("QVX_REGISTRY_FILE", std::nullopt);
    EXPECT_EQ(TRegistry::FilePath(), "/etc/qvx/registry");
  }
  {
    test::ScopedEnv empty("QVX_REGISTRY_FILE", "");
    EXPECT_EQ(TRegistry::FilePath(), "/etc/qvx/registry");
  }
  test::ScopedEnv set("QVX_REGISTRY_FILE", "/somewhere/registry");
  EXPECT_EQ(TRegistry::FilePath(), "/somewhere/registry");
}

TEST(RegistryFile, RootKeyNames) {
  EXPECT_EQ(RootKeyName(RootKey::ClassesRoot), "HKEY_CLASSES_ROOT");
  EXPECT_EQ(RootKeyName(RootKey::CurrentUser), "HKEY_CURRENT_USER");
  EXPECT_EQ(RootKeyName(RootKey::LocalMachine), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(RootKeyName(RootKey::Users), "HKEY_USERS");
}

}  // namespace
}  // namespace qv
