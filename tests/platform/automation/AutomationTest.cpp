#include "platform/automation/Automation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/AutomationLibrary.h"
#include "platform/automation/ValueCodec.h"
#include "platform/core/Exception.h"
#include "platform/system/DynamicLibrary.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

using ::testing::HasSubstr;

// Runs action and returns the message of the EOleError it must raise.
std::string OleErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EOleError& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no EOleError raised";
  return {};
}

// A test double with members of every kind.
class Account : public DispatchObject {
 public:
  Account() {
    // Deposit(amount, out balance)
    Method("Deposit", [this](std::vector<Variant>& args) {
      RequireArgs(args, 2);
      balance_ += args[0].ToInt();
      args[1] = balance_;
      return Variant(true);
    });
    Method("Statement", [this](std::vector<Variant>&) { return Variant("balance " + std::to_string(balance_)); });
    Property("Balance", [this] { return Variant(balance_); }, [this](const Variant& v) { balance_ = v.ToInt(); });
    Property("Owner", [] { return Variant("Ann"); });
    IndexedProperty("Limit", [](std::vector<Variant>& args) {
      RequireArgs(args, 1);
      return Variant(args[0].ToString() == "daily" ? 100 : 1000);
    });
  }

 protected:
  int balance_ = 0;
};

TEST(DispatchObject, MethodsChangeArgumentsPassedByReference) {
  Account account;
  std::vector<Variant> args{Variant(30), Variant()};
  EXPECT_EQ(account.Invoke("Deposit", args), Variant(true));
  EXPECT_EQ(args[1], Variant(30));
  args[0] = 12;
  account.Invoke("Deposit", args);
  EXPECT_EQ(args[1], Variant(42));
  EXPECT_EQ(account.Get("Balance"), Variant(42));

  // Argument counts are the handler's to check.
  EXPECT_EQ(OleErrorOf([&] { account.Call("Deposit", {Variant(1)}); }), "Invalid number of parameters");
}

TEST(DispatchObject, NamesCompareWithoutRegardToAsciiCase) {
  for (const char* name : {"Balance", "BALANCE", "balance", "bAlAnCe"}) {
    SCOPED_TRACE(name);
    Account account;
    account.PutProperty(name, Variant(7));
    EXPECT_EQ(account.Get(name), Variant(7));
    EXPECT_EQ(account.Get("Balance"), Variant(7));
    EXPECT_TRUE(account.HasMember(name));
  }
  Account account;
  EXPECT_EQ(account.Call("STATEMENT"), Variant("balance 0"));
  // Only ASCII letters fold: "ß" is not "SS".
  EXPECT_FALSE(account.HasMember("Balance\xC3\x9F"));
}

TEST(DispatchObject, UnknownMembersRaiseWithTheirName) {
  Account account;
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"invoke", [&] { account.Call("Withdraw"); }},
      {"get", [&] { account.Get("Withdraw"); }},
      {"put", [&] { account.PutProperty("Withdraw", Variant(1)); }},
  };
  for (const auto& [kind, call] : calls) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(OleErrorOf(call), "Unknown name: Withdraw");
  }
  EXPECT_FALSE(account.HasMember("Withdraw"));
}

TEST(DispatchObject, PropertiesAreReadOnlyWithoutSetterAndPlainWithoutIndex) {
  Account account;
  EXPECT_EQ(OleErrorOf([&] { account.PutProperty("owner", Variant("Bob")); }), "Property Owner is read-only");
  EXPECT_EQ(account.Get("Owner"), Variant("Ann"));
  EXPECT_EQ(OleErrorOf([&] { account.PutProperty("Statement", Variant("x")); }),
            "Property Statement is read-only");

  std::vector<Variant> index{Variant("daily")};
  EXPECT_EQ(account.GetProperty("Limit", index), Variant(100));
  EXPECT_EQ(OleErrorOf([&] { account.Get("Limit"); }), "Invalid number of parameters");
  EXPECT_EQ(OleErrorOf([&] { account.GetProperty("Owner", index); }), "Invalid number of parameters");
}

TEST(DispatchObject, ReadingAMethodCallsItAndInvokingAPropertyReadsIt) {
  Account account;
  account.PutProperty("Balance", Variant(5));
  EXPECT_EQ(account.Get("Statement"), Variant("balance 5"));
  EXPECT_EQ(account.Call("Balance"), Variant(5));
  EXPECT_EQ(account.Call("Limit", {Variant("monthly")}), Variant(1000));
}

// Redefines a member of its base under another spelling.
class SharedAccount : public Account {
 public:
  SharedAccount() {
    Property("OWNER", [this] { return Variant(owner_); }, [this](const Variant& v) { owner_ = v.ToString(); });
    Method("balance", [](std::vector<Variant>&) { return Variant("hidden"); });
  }

 private:
  std::string owner_ = "Ann and Bob";
};

TEST(DispatchObject, RedefiningAMemberReplacesIt) {
  SharedAccount account;
  EXPECT_EQ(account.Get("Owner"), Variant("Ann and Bob"));
  account.PutProperty("owner", Variant("Cy"));
  EXPECT_EQ(account.Get("Owner"), Variant("Cy"));
  // The property became a method: it no longer takes a value.
  EXPECT_EQ(account.Get("Balance"), Variant("hidden"));
  EXPECT_EQ(OleErrorOf([&] { account.PutProperty("Balance", Variant(1)); }), "Property balance is read-only");
}

// Runs each test against its own registry file, empty unless a test writes one.
class AutomationCreation : public ::testing::Test {
 protected:
  void WriteRegistry(const std::vector<std::pair<std::string, std::string>>& libraryByProgID) {
    std::string text;
    for (const auto& [progID, library] : libraryByProgID)
      text += "[HKEY_LOCAL_MACHINE\\Software\\Classes\\" + progID + "]\nLibrary=" + library + "\n";
    test::WriteFile(registryFile_, text);
  }

  test::TempDir dir_;
  std::string registryFile_ = dir_ / "registry";
  test::ScopedEnv registry_{"QVX_REGISTRY_FILE", registryFile_};
};

TEST_F(AutomationCreation, RegisteredFactoriesAreFoundWithoutRegardToCase) {
  int created = 0;
  RegisterAutomationFactory("Test.Account", [&] {
    ++created;
    return std::make_shared<Account>();
  });
  AutomationPtr first = CreateOleObject("TEST.ACCOUNT");
  AutomationPtr second = CreateOleObject("test.account");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(created, 2);
  EXPECT_EQ(first->Get("Owner"), Variant("Ann"));

  UnregisterAutomationFactory("Test.ACCOUNT");
  EXPECT_EQ(OleErrorOf([] { CreateOleObject("Test.Account"); }), "Invalid class string");
  EXPECT_EQ(created, 2);
}

TEST_F(AutomationCreation, RegisteringAgainReplacesTheFactory) {
  RegisterAutomationFactory("Test.Replaced", [] { return std::make_shared<Account>(); });
  RegisterAutomationFactory("TEST.REPLACED", [] { return std::make_shared<SharedAccount>(); });
  EXPECT_EQ(CreateOleObject("Test.Replaced")->Get("Owner"), Variant("Ann and Bob"));
  UnregisterAutomationFactory("test.replaced");
  EXPECT_EQ(OleErrorOf([] { CreateOleObject("Test.Replaced"); }), "Invalid class string");
}

TEST_F(AutomationCreation, FactoriesMayCreateAndRegisterInTurn) {
  RegisterAutomationFactory("Test.Inner", [] { return std::make_shared<Account>(); });
  RegisterAutomationFactory("Test.Outer", [] {
    RegisterAutomationFactory("Test.Late", [] { return std::make_shared<Account>(); });
    return CreateOleObject("Test.Inner");
  });
  EXPECT_NE(CreateOleObject("Test.Outer"), nullptr);
  EXPECT_NE(CreateOleObject("Test.Late"), nullptr);
  for (const char* progID : {"Test.Inner", "Test.Outer", "Test.Late"}) UnregisterAutomationFactory(progID);
}

TEST_F(AutomationCreation, AFactoryThatCreatesNothingIsAnError) {
  RegisterAutomationFactory("Test.Null", [] { return AutomationPtr(); });
  EXPECT_EQ(OleErrorOf([] { CreateOleObject("Test.Null"); }), "The factory of Test.Null created no object");
  UnregisterAutomationFactory("Test.Null");
}

TEST_F(AutomationCreation, AFactoryComesBeforeTheRegistry) {
  WriteRegistry({{"Test.Both", dir_ / "Missing.so"}});
  RegisterAutomationFactory("Test.Both", [] { return std::make_shared<Account>(); });
  EXPECT_EQ(CreateOleObject("Test.Both")->Get("Owner"), Variant("Ann"));
  UnregisterAutomationFactory("Test.Both");
  EXPECT_THAT(OleErrorOf([] { CreateOleObject("Test.Both"); }), HasSubstr("Missing.so"));
}

const std::string kAutomationFixture = PQLR_AUTOMATION_FIXTURE;

// The fixture library's ProgIDs, and some that lead nowhere, in the registry.
class LibraryAutomation : public AutomationCreation {
 protected:
  void SetUp() override {
    WriteRegistry({{"Fixture.Calculator", kAutomationFixture},
                   {"Fixture.Census", kAutomationFixture},
                   {"Fixture.Nothing", kAutomationFixture},
                   {"Fixture.Unserved", kAutomationFixture},
                   {"Missing.Library", dir_ / "Missing.so"},
                   {"Without.Entries", PQLR_FIXTURE_LIBRARY},
                   {"Without.Library", ""}});
  }
};

TEST_F(LibraryAutomation, CallsChangeArgumentsPassedByReference) {
  AutomationPtr calculator = CreateOleObject("fixture.CALCULATOR");
  std::vector<Variant> args{Variant(41)};
  EXPECT_EQ(calculator->Invoke("Increment", args), Variant(42));
  EXPECT_EQ(args[0], Variant(42));
  EXPECT_EQ(calculator->Invoke("increment", args), Variant(43));
  EXPECT_EQ(args[0], Variant(43));
}

TEST_F(LibraryAutomation, ValuesCrossTheLibraryUnchanged) {
  Variant grid = Variant::Array2(1, 2, 0, 1);
  grid.At(1, 0) = "a";
  grid.At(2, 1) = Variant::Unicode("制表");
  std::vector<Variant> args{Variant(),
                            Variant::Null(),
                            Variant(-9007199254740993LL),
                            Variant(2.5),
                            Variant(false),
                            Variant::FromDate(45000.25),
                            Variant(std::string("nul\0byte", 8)),
                            Variant::Unicode("日期"),
                            grid,
                            Variant::ArrayOf({Variant(1), Variant::ArrayOf({Variant("deep")})})};
  const std::vector<Variant> before = args;
  AutomationPtr calculator = CreateOleObject("Fixture.Calculator");
  EXPECT_EQ(calculator->Invoke("Echo", args), Variant::ArrayOf(before));
  for (std::size_t i = 0; i < args.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(args[i].Type(), before[i].Type());
    EXPECT_EQ(args[i], before[i]);
  }
  EXPECT_EQ(calculator->Call("Echo"), Variant::ArrayOf({}));
}

TEST_F(LibraryAutomation, PropertiesCrossTheLibrary) {
  AutomationPtr calculator = CreateOleObject("Fixture.Calculator");
  calculator->PutProperty("TOTAL", Variant("17"));
  EXPECT_EQ(calculator->Get("Total"), Variant(17));
  EXPECT_EQ(calculator->Get("name"), Variant("calculator"));
  EXPECT_EQ(OleErrorOf([&] { calculator->PutProperty("Name", Variant("x")); }), "Property Name is read-only");
  // Each object has its own state.
  EXPECT_EQ(CreateOleObject("Fixture.Calculator")->Get("Total"), Variant(0));
}

TEST_F(LibraryAutomation, ErrorsOfMembersArriveAsOleErrors) {
  AutomationPtr calculator = CreateOleObject("Fixture.Calculator");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Fail", "Calculator failure"},
      {"FailStandard", "standard failure"},
      {"FailOther", "Unknown error in automation library"},
      {"Nope", "Unknown name: Nope"},
  };
  for (const auto& [member, message] : cases) {
    SCOPED_TRACE(member);
    std::vector<Variant> args{Variant(1)};
    EXPECT_EQ(OleErrorOf([&] { calculator->Invoke(member, args); }), message);
    EXPECT_EQ(args[0], Variant(1));
  }
  // An object cannot leave the library: the reply cannot carry it.
  EXPECT_NE(OleErrorOf([&] { calculator->Call("Self"); }), "");
  // A local object cannot be sent either, and the call does not happen.
  std::vector<Variant> objectArgs{Variant(AutomationPtr(std::make_shared<Account>()))};
  EXPECT_THROW(calculator->Invoke("Increment", objectArgs), Exception);
  // The object still works after all of these.
  EXPECT_EQ(calculator->Call("Increment", {Variant(1)}), Variant(2));
}

TEST_F(LibraryAutomation, TheLibraryObjectIsReleasedWithItsProxy) {
  AutomationPtr census = CreateOleObject("Fixture.Census");
  const int before = census->Get("LiveCalculators").ToInt();
  AutomationPtr calculator = CreateOleObject("Fixture.Calculator");
  AutomationPtr another = CreateOleObject("Fixture.Calculator");
  EXPECT_EQ(census->Get("LiveCalculators"), Variant(before + 2));
  calculator.reset();
  EXPECT_EQ(census->Get("LiveCalculators"), Variant(before + 1));
  another.reset();
  EXPECT_EQ(census->Get("LiveCalculators"), Variant(before));
}

TEST_F(LibraryAutomation, CreationFailuresAreOleErrors) {
  struct Case {
    std::string progID;
    std::string message;  // part of the error text
  };
  const std::vector<Case> cases = {
      {"No.Such.Class", "Invalid class string"},
      {"", "Invalid class string"},
      {"Without.Library", "Invalid class string"},
      {"Fixture.Calculator\\", "Invalid class string"},
      {"Fixture.Unserved", "The fixture does not serve Fixture.Unserved"},
      {"Fixture.Nothing", "Invalid class string: Fixture.Nothing"},
      {"Missing.Library", "Missing.so"},
      {"Without.Entries", "QvAutomationCreate"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.progID);
    EXPECT_THAT(OleErrorOf([&] { CreateOleObject(c.progID); }), HasSubstr(c.message));
  }
}

TEST_F(LibraryAutomation, AMissingRegistryFileNamesNoClass) {
  test::ScopedEnv missing("QVX_REGISTRY_FILE", dir_ / "no-registry");
  EXPECT_EQ(OleErrorOf([] { CreateOleObject("Fixture.Calculator"); }), "Invalid class string");
}

// The library's entries called directly, as a caller that breaks the rules would.
class AutomationEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Load(kAutomationFixture)) << library_.LastError();
    create_ = library_.Function<QvAutomationCreateFunction>(kAutomationCreateEntry);
    call_ = library_.Function<QvAutomationCallFunction>(kAutomationCallEntry);
    free_ = library_.Function<QvAutomationFreeFunction>(kAutomationFreeEntry);
    release_ = library_.Function<QvAutomationReleaseFunction>(kAutomationReleaseEntry);
    ASSERT_TRUE(create_ && call_ && free_ && release_);
  }

  // Calls and returns the success flag and the decoded reply.
  std::pair<int, Variant> Call(void* object, int kind, const char* member, const std::string& request) {
    unsigned char* reply = nullptr;
    std::size_t length = 0;
    const int ok = call_(object, kind, member, reinterpret_cast<const unsigned char*>(request.data()),
                         request.size(), &reply, &length);
    EXPECT_NE(reply, nullptr);
    Variant decoded = reply ? DecodeValue(std::string_view(reinterpret_cast<char*>(reply), length)) : Variant();
    free_(reply);
    return {ok, decoded};
  }

  static std::string Encode(const Variant& value) {
    std::string bytes;
    EncodeValue(value, bytes);
    return bytes;
  }

  DynamicLibrary library_;
  QvAutomationCreateFunction* create_ = nullptr;
  QvAutomationCallFunction* call_ = nullptr;
  QvAutomationFreeFunction* free_ = nullptr;
  QvAutomationReleaseFunction* release_ = nullptr;
};

TEST_F(AutomationEntries, BrokenCallsComeBackAsErrorsWithTheirClass) {
  void* calculator = create_("Fixture.Calculator", nullptr);
  ASSERT_NE(calculator, nullptr);
  const std::string noArgs = Encode(Variant::ArrayOf({}));
  struct Case {
    const char* what;
    void* object;
    int kind;
    const char* member;
    std::string request;
    std::string className;
  };
  const std::vector<Case> cases = {
      {"member raises", calculator, QvAutomationMethod, "Fail", noArgs, "EDatabaseError"},
      {"no object", nullptr, QvAutomationMethod, "Echo", noArgs, "EOleError"},
      {"no member", calculator, QvAutomationMethod, nullptr, noArgs, "EOleError"},
      {"unknown kind", calculator, 7, "Echo", noArgs, "EOleError"},
      {"malformed request", calculator, QvAutomationMethod, "Echo", "\x09garbage", "EVariantError"},
      {"request not an array", calculator, QvAutomationMethod, "Echo", Encode(Variant(1)), "EOleError"},
      {"put without value", calculator, QvAutomationPutProperty, "Total", noArgs, "EOleError"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto [ok, reply] = Call(c.object, c.kind, c.member, c.request);
    EXPECT_EQ(ok, 0);
    ASSERT_TRUE(reply.IsArray());
    ASSERT_EQ(reply.HighBound(), 1);
    EXPECT_NE(reply[0].ToString(), "");
    EXPECT_EQ(reply[1], Variant(c.className));
  }
  auto [ok, reply] = Call(calculator, QvAutomationMethod, "Increment", Encode(Variant::ArrayOf({Variant(1)})));
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(reply, Variant::ArrayOf({Variant(2), Variant::ArrayOf({Variant(2)})}));
  release_(calculator);
}

TEST_F(AutomationEntries, RefusedCreationGivesAnErrorText) {
  char* error = nullptr;
  EXPECT_EQ(create_("Fixture.Unserved", &error), nullptr);
  ASSERT_NE(error, nullptr);
  EXPECT_STREQ(error, "The fixture does not serve Fixture.Unserved");
  free_(error);
  EXPECT_EQ(create_(nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace qv
