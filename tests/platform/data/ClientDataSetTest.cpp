// The client data set: records fetched from a provider on the application
// server (over a loopback connection and in the process), the cursor, the
// index order, FindKey/Locate, editing the cache, reopening and errors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/automation/ServerDaemon.h"
#include "platform/automation/SocketConnection.h"
#include "platform/core/Exception.h"
#include "platform/data/ClientDataSet.h"

namespace qv {
namespace {

using Row = std::vector<Variant>;

// The stored condition schemes, in the order the server delivers them.
std::vector<Row> Schemes() {
  return {
      {"月报方案", "U02", "PQLR52C", "S-a", Variant::Unicode("值A"), "20240105"},
      {"年度汇总", "U01", "PQLR52C", "S-b", Variant::Unicode("值B"), "20231231"},
      {"月报方案", "U01", "PQLR52C", "S-c", Variant::Unicode("值C"), "20240201"},
      {"月报方案", "U01", "PQLR10A", "S-d", Variant::Unicode("值D"), "20240302"},
  };
}

Variant Table(const std::vector<std::string>& names, const std::vector<Row>& rows) {
  std::vector<Variant> nameValues(names.begin(), names.end());
  Variant data;
  if (!rows.empty()) {
    data = Variant::Array2(0, static_cast<int>(rows.size()) - 1, 0, static_cast<int>(names.size()) - 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < names.size(); ++c) data.At(static_cast<int>(r), static_cast<int>(c)) = rows[r][c];
  }
  return Variant::ArrayOf({Variant::ArrayOf(nameValues), data});
}

// An application server with a few providers; the schemes can be changed
// between calls to see that reopening fetches them again.
class ProviderServer : public DispatchObject {
 public:
  explicit ProviderServer(std::shared_ptr<std::vector<Row>> schemes) : schemes_(std::move(schemes)) {
    Method("AS_GetRecords", [this](std::vector<Variant>& args) {
      RequireArgs(args, 1);
      return Records(args[0].ToString());
    });
  }

 private:
  Variant Records(const std::string& provider) const {
    if (provider == "pvdConSave")
      return Table({"NCONDITION", "CREATOR", "PROGRAMME", "SCONDITION", "VCONDITION", "CREATE_DATE"}, *schemes_);
    if (provider == "pvdTyped")
      return Table({"COUNT", "RATE", "DAY", "FLAG", "NOTE"},
                   {{Variant::Null(), 2.5, Variant::Null(), true, 7},
                    {3, 1.0, Variant::FromDate(45000.0), false, "8"}});
    if (provider == "pvdEmpty") return Table({"A", "B"}, {});
    if (provider == "pvdBroken") return Variant::ArrayOf({Variant::ArrayOf({"A", "B"}), Variant::Array2(0, 0, 0, 0)});
    throw EDatabaseError("Provider '" + provider + "' not found");
  }

  std::shared_ptr<std::vector<Row>> schemes_;
};

// Each test runs in the process and through a server daemon on loopback.
class ClientDataSetTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      daemon_.RegisterObject("Test.AppServer", [this] { return std::make_shared<ProviderServer>(schemes_); });
      connection_.SetPort(daemon_.Listen());
      daemon_.Start();
      connection_.SetAddress("127.0.0.1");
      connection_.SetServerName("Test.AppServer");
      connection_.SetConnectTimeout(2000);
      connection_.SetCallTimeout(2000);
      data_.SetRemoteServer(&connection_);
    } else {
      data_.SetAppServer(std::make_shared<ProviderServer>(schemes_));
    }
    data_.SetName("ClientDataSet1");
    data_.SetProviderName("pvdConSave");
    data_.AddIndex("Index1", "NCONDITION;CREATOR;PROGRAMME");
  }

  std::string Key() const {
    return data_.FieldByName("NCONDITION")->AsString() + "|" + data_.FieldByName("CREATOR")->AsString() + "|" +
           data_.FieldByName("PROGRAMME")->AsString();
  }
  // The keys from the current record to the end.
  std::vector<std::string> KeysToEnd() {
    std::vector<std::string> keys;
    for (; !data_.Eof(); data_.Next()) keys.push_back(Key());
    return keys;
  }

  std::shared_ptr<std::vector<Row>> schemes_ = std::make_shared<std::vector<Row>>(Schemes());
  ServerDaemon daemon_;
  TSocketConnection connection_{nullptr};
  TClientDataSet data_{nullptr};
};

INSTANTIATE_TEST_SUITE_P(ClientDataSet, ClientDataSetTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Loopback" : "InProcess"; });

TEST_P(ClientDataSetTest, OpensWithTheProvidersFieldsAndRecordsInDeliveryOrder) {
  data_.Open();
  EXPECT_EQ(data_.State(), dsBrowse);
  ASSERT_EQ(data_.Fields().Count(), 6);
  EXPECT_EQ(data_.Fields()[5]->FieldName(), "CREATE_DATE");
  EXPECT_EQ(data_.Fields()[0]->DataType(), ftString);
  EXPECT_EQ(data_.RecordCount(), 4);
  EXPECT_TRUE(data_.Bof());
  EXPECT_EQ(data_.RecNo(), 1);
  EXPECT_EQ(data_.FieldByName("VCONDITION")->AsVariant().Type(), VarType::UString);
  EXPECT_EQ(data_.FieldByName("VCONDITION")->AsString(), "值A");
  EXPECT_EQ(KeysToEnd(), (std::vector<std::string>{"月报方案|U02|PQLR52C", "年度汇总|U01|PQLR52C",
                                                   "月报方案|U01|PQLR52C", "月报方案|U01|PQLR10A"}));
  EXPECT_EQ(data_.RecNo(), 4);
  data_.Prior();
  EXPECT_EQ(data_.FieldByName("SCONDITION")->AsString(), "S-c");
  data_.Last();
  EXPECT_TRUE(data_.Eof());
  EXPECT_EQ(data_.FieldByName("CREATE_DATE")->AsString(), "20240302");
}

TEST_P(ClientDataSetTest, IndexOrdersTheRecordsAndSwitchingKeepsTheCurrentOne) {
  data_.SetIndexName("Index1");
  data_.Open();
  const std::vector<std::string> indexed{"年度汇总|U01|PQLR52C", "月报方案|U01|PQLR10A", "月报方案|U01|PQLR52C",
                                         "月报方案|U02|PQLR52C"};
  EXPECT_EQ(KeysToEnd(), indexed);
  data_.First();
  data_.Next();  // 月报方案|U01|PQLR10A, delivered last
  data_.SetIndexName("");
  EXPECT_EQ(Key(), "月报方案|U01|PQLR10A");
  EXPECT_EQ(data_.RecNo(), 4);
  data_.SetIndexName("index1");
  EXPECT_EQ(data_.RecNo(), 2);
  EXPECT_THROW(data_.SetIndexName("Index9"), EDatabaseError);
  EXPECT_EQ(data_.IndexName(), "index1");
}

struct SearchCase {
  const char* name;
  bool findKey;  // else Locate
  const char* fields;
  Variant key;
  TLocateOptions options;
  const char* expected;  // SCONDITION of the record found, nullptr for none
};

TEST_P(ClientDataSetTest, FindKeyAndLocateMoveToTheMatchingRecordOrStay) {
  const SearchCase cases[] = {
      {"full key", true, "", Variant::ArrayOf({"月报方案", "U01", "PQLR52C"}), 0, "S-c"},
      {"leading fields, first in index order", true, "", Variant::ArrayOf({"月报方案", "U01"}), 0, "S-d"},
      {"one value", true, "", Variant("年度汇总"), 0, "S-b"},
      {"other user's scheme", true, "", Variant::ArrayOf({"年度汇总", "U02", "PQLR52C"}), 0, nullptr},
      {"no such name", true, "", Variant::ArrayOf({"周报", "U01", "PQLR52C"}), 0, nullptr},
      {"locate by other fields", false, "PROGRAMME;CREATOR", Variant::ArrayOf({"PQLR52C", "U02"}), 0, "S-a"},
      {"locate case differs", false, "PROGRAMME", Variant("pqlr10a"), 0, nullptr},
      {"locate case-insensitive", false, "PROGRAMME", Variant("pqlr10a"), loCaseInsensitive, "S-d"},
      {"locate partial", false, "CREATE_DATE", Variant("2023"), loPartialKey, "S-b"},
      {"locate partial is not a substring", false, "CREATE_DATE", Variant("0105"), loPartialKey, nullptr},
  };
  data_.SetIndexName("Index1");
  data_.Open();
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    data_.Last();  // S-a in index order
    const bool found = c.findKey ? data_.FindKey(c.key) : data_.Locate(c.fields, c.key, c.options);
    EXPECT_EQ(found, c.expected != nullptr);
    EXPECT_EQ(data_.FieldByName("SCONDITION")->AsString(), c.expected ? c.expected : "S-a");
  }
  EXPECT_THROW(data_.FindKey(Variant::ArrayOf({"a", "b", "c", "d"})), EDatabaseError);
  EXPECT_THROW(data_.Locate("NCONDITION;CREATOR", Variant("a")), EDatabaseError);
  data_.SetIndexName("");
  EXPECT_THROW(data_.FindKey(Variant("年度汇总")), EDatabaseError);
}

TEST_P(ClientDataSetTest, PostedEditsChangeTheCachedRowOnlyAndItFollowsTheIndex) {
  data_.SetIndexName("Index1");
  data_.Open();
  ASSERT_TRUE(data_.FindKey(Variant::ArrayOf({"月报方案", "U02", "PQLR52C"})));
  EXPECT_THROW(data_.FieldByName("NCONDITION")->SetAsString("x"), EDatabaseError);
  data_.Edit();
  EXPECT_EQ(data_.State(), dsEdit);
  data_.FieldByName("NCONDITION")->SetAsString("季度方案");  // sorts before 年度汇总
  EXPECT_EQ(data_.FieldByName("NCONDITION")->AsString(), "季度方案");
  data_.Post();
  EXPECT_EQ(data_.State(), dsBrowse);
  EXPECT_EQ(data_.RecNo(), 1);
  EXPECT_EQ(data_.FieldByName("SCONDITION")->AsString(), "S-a");
  EXPECT_FALSE(data_.FindKey(Variant::ArrayOf({"月报方案", "U02", "PQLR52C"})));
  EXPECT_TRUE(data_.FindKey(Variant::ArrayOf({"季度方案", "U02", "PQLR52C"})));
  EXPECT_EQ(data_.RecordCount(), 4);

  data_.Close();  // the server's data was never changed
  data_.Open();
  EXPECT_FALSE(data_.FindKey(Variant::ArrayOf({"季度方案", "U02", "PQLR52C"})));
  EXPECT_TRUE(data_.FindKey(Variant::ArrayOf({"月报方案", "U02", "PQLR52C"})));
}

TEST_P(ClientDataSetTest, CancelDropsTheEditAndMovingPostsIt) {
  data_.Open();
  data_.Edit();
  data_.FieldByName("CREATOR")->SetAsString("U99");
  data_.Cancel();
  EXPECT_EQ(data_.State(), dsBrowse);
  EXPECT_EQ(data_.FieldByName("CREATOR")->AsString(), "U02");

  data_.Edit();
  data_.FieldByName("CREATOR")->SetAsString("U99");
  data_.Next();
  EXPECT_EQ(data_.State(), dsBrowse);
  data_.First();
  EXPECT_EQ(data_.FieldByName("CREATOR")->AsString(), "U99");

  data_.Edit();
  data_.FieldByName("CREATOR")->SetAsString("U77");
  data_.Close();
  data_.Open();
  EXPECT_EQ(data_.FieldByName("CREATOR")->AsString(), "U02");
}

TEST_P(ClientDataSetTest, CloseDropsTheCacheAndReopeningFetchesFreshData) {
  data_.Open();
  ASSERT_EQ(data_.RecordCount(), 4);
  data_.Close();
  EXPECT_EQ(data_.State(), dsInactive);
  EXPECT_EQ(data_.FindField("NCONDITION"), nullptr);
  EXPECT_THROW(data_.First(), EDatabaseError);

  schemes_->pop_back();
  (*schemes_)[0][0] = "新方案";
  data_.Open();
  EXPECT_EQ(data_.RecordCount(), 3);
  EXPECT_EQ(data_.FieldByName("NCONDITION")->AsString(), "新方案");
  EXPECT_FALSE(data_.Locate("SCONDITION", Variant("S-d")));

  schemes_->clear();
  data_.Close();
  data_.Open();
  EXPECT_TRUE(data_.IsEmpty());
  EXPECT_TRUE(data_.Eof());
  EXPECT_TRUE(data_.FieldByName("NCONDITION")->IsNull());
}

TEST_P(ClientDataSetTest, ErrorsLeaveTheDataSetClosedAndUsable) {
  auto expectOpenError = [this](const std::string& text) {
    try {
      data_.Open();
      ADD_FAILURE() << "no error, expected " << text;
    } catch (const Exception& error) {
      EXPECT_NE(error.Message().find(text), std::string::npos) << error.Message();
    }
    EXPECT_FALSE(data_.Active());
    EXPECT_EQ(data_.Fields().Count(), 0);
  };
  data_.SetProviderName("pvdMissing");
  expectOpenError("Provider 'pvdMissing' not found");
  data_.SetProviderName("pvdBroken");
  expectOpenError("Malformed records from provider 'pvdBroken'");
  data_.SetProviderName("");
  expectOpenError("ClientDataSet1: Missing provider name");
  data_.SetProviderName("pvdConSave");
  data_.SetIndexName("Index2");
  expectOpenError("Index 'Index2' not found");
  data_.SetIndexName("Index1");
  data_.Open();
  EXPECT_EQ(data_.RecordCount(), 4);
}

TEST(ClientDataSet, NeedsAServerAndForgetsAFreedConnection) {
  TClientDataSet data(nullptr);
  data.SetProviderName("pvdConSave");
  EXPECT_THROW(data.Open(), EDatabaseError);
  EXPECT_THROW(data.AddIndex("I", " ; "), EDatabaseError);
  data.AddIndex("I", "A");
  EXPECT_THROW(data.AddIndex("i", "B"), EDatabaseError);
  {
    TSocketConnection connection(nullptr);
    data.SetRemoteServer(&connection);
    EXPECT_EQ(data.RemoteServer(), &connection);
  }
  EXPECT_EQ(data.RemoteServer(), nullptr);
}

TEST(ClientDataSet, FieldTypesComeFromTheFirstNonEmptyValueOfEachColumn) {
  auto open = [](TClientDataSet& data, const char* provider) {
    data.SetAppServer(std::make_shared<ProviderServer>(std::make_shared<std::vector<Row>>()));
    data.SetProviderName(provider);
    data.Open();
  };
  TClientDataSet typed(nullptr);
  open(typed, "pvdTyped");
  const TFieldType expected[] = {ftInteger, ftFloat, ftDateTime, ftBoolean, ftInteger};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(typed.Fields()[i]->DataType(), expected[i]) << i;
  EXPECT_TRUE(typed.FieldByName("COUNT")->IsNull());
  typed.Last();
  EXPECT_EQ(typed.FieldByName("COUNT")->AsInteger(), 3);
  EXPECT_EQ(typed.FieldByName("DAY")->AsVariant().Type(), VarType::Date);
  EXPECT_EQ(typed.FieldByName("NOTE")->AsVariant().Type(), VarType::Integer);  // "8" converted
  EXPECT_EQ(typed.FieldByName("NOTE")->AsInteger(), 8);

  TClientDataSet empty(nullptr);
  open(empty, "pvdEmpty");
  ASSERT_EQ(empty.Fields().Count(), 2);
  EXPECT_EQ(empty.Fields()[1]->DataType(), ftString);
  EXPECT_TRUE(empty.IsEmpty());
}

}  // namespace
}  // namespace qv
