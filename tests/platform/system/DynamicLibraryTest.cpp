#include "platform/system/DynamicLibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "platform/system/SystemInfo.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

const std::string kFixture = PQLR_FIXTURE_LIBRARY;

// True while the fixture is loaded in this process.
bool FixtureIsResident() {
  void* handle = dlopen(kFixture.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

TEST(DynamicLibrary, LoadsByFileNameAndResolvesFunctions) {
  DynamicLibrary library;
  EXPECT_FALSE(library.IsLoaded());
  ASSERT_TRUE(library.Load(kFixture)) << library.LastError();
  EXPECT_TRUE(library.IsLoaded());
  EXPECT_EQ(library.LastError(), "");

  auto* add = library.Function<int(int, int)>("FixtureAdd");
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 40), 42);
  auto* greeting = library.Function<const char*()>("FixtureGreeting");
  ASSERT_NE(greeting, nullptr);
  EXPECT_STREQ(greeting(), "hello from the fixture");
  auto* counter = static_cast<int*>(library.Symbol("FixtureCounter"));
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(*counter, 41);

  EXPECT_EQ(library.Symbol("NoSuchFunction"), nullptr);
  EXPECT_EQ(library.Function<void()>("NoSuchFunction"), nullptr);
  EXPECT_EQ(library.Symbol(nullptr), nullptr);
  EXPECT_EQ(ModuleFileName(library.Symbol("FixtureAdd")), std::filesystem::canonical(kFixture).string());
}

TEST(DynamicLibrary, FailuresAreReported) {
  test::TempDir dir;
  test::WriteFile(dir / "NotALibrary.so", "plain text");
  for (const std::string& name : {dir / "Missing.so", dir / "NotALibrary.so", std::string("NoSuchLibrary.so"),
                                  std::string()}) {
    SCOPED_TRACE(name);
    DynamicLibrary library;
    EXPECT_FALSE(library.Load(name));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_NE(library.LastError(), "");
    EXPECT_EQ(library.Symbol("FixtureAdd"), nullptr);
  }
}

TEST(DynamicLibrary, UnloadsOnUnloadAndDestruction) {
  {
    DynamicLibrary library;
    ASSERT_TRUE(library.Load(kFixture));
    EXPECT_TRUE(FixtureIsResident());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(library.Symbol("FixtureAdd"), nullptr);
    EXPECT_FALSE(FixtureIsResident());
    ASSERT_TRUE(library.Load(kFixture));
    EXPECT_TRUE(FixtureIsResident());
  }
  EXPECT_FALSE(FixtureIsResident());
}

TEST(DynamicLibrary, MovesOwnership) {
  DynamicLibrary first;
  ASSERT_TRUE(first.Load(kFixture));
  DynamicLibrary second(std::move(first));
  EXPECT_FALSE(first.IsLoaded());
  ASSERT_TRUE(second.IsLoaded());
  EXPECT_EQ(second.Function<int(int, int)>("FixtureAdd")(1, 2), 3);

  DynamicLibrary third;
  third = std::move(second);
  EXPECT_FALSE(second.IsLoaded());
  EXPECT_TRUE(third.IsLoaded());
  EXPECT_TRUE(FixtureIsResident());
  third = DynamicLibrary();
  EXPECT_FALSE(third.IsLoaded());
  EXPECT_FALSE(FixtureIsResident());
}

TEST(DynamicLibrary, BareNameIsFoundBesideTheExecutable) {
  if (ExtractFilePath(kFixture) != ExecutableFolder()) GTEST_SKIP() << "fixture not beside the test program";
  DynamicLibrary library;
  ASSERT_TRUE(library.Load(ExtractFileName(kFixture))) << library.LastError();
  EXPECT_EQ(library.FileName(), kFixture);
  EXPECT_NE(library.Symbol("FixtureAdd"), nullptr);
}

TEST(DynamicLibrary, LibraryModuleNames) {
  const std::pair<const char*, bool> cases[] = {
      {"Qvlanguage.so", true}, {"PQLR52S.SO", true}, {"/opt/a/x.So", true}, {".so", true},
      {"PQLR52S.dll", false},  {"x.so.1", false},    {"so", false},         {"", false},
      {"x.sox", false},
  };
  for (const auto& [name, expected] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(IsLibraryModule(name), expected);
  }
}

}  // namespace
}  // namespace qv
