// The data edit: shows the field of its data source's current record.
#include <gtest/gtest.h>

#include "platform/core/TypInfo.h"
#include "platform/data/Customers.h"
#include "platform/data/DB.h"
#include "platform/ui/controls/DBEdit.h"

namespace qv {
namespace {

// An edit bound to the names of three customers, on the first record.
class DBEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataSet = test::MakeCustomers(&owner);
    name = dataSet->FieldByName("CUST_NAME");
    balance = dataSet->FieldByName("BALANCE");
    source = new TDataSource(&owner);
    source->SetDataSet(dataSet);
    edit = new TDBEdit(&owner);
    edit->SetDataSource(source);
    edit->SetDataField("CUST_NAME");
  }
  TComponent owner{nullptr};
  TDataSet* dataSet = nullptr;
  TField* name = nullptr;
  TField* balance = nullptr;
  TDataSource* source = nullptr;
  TDBEdit* edit = nullptr;
};

TEST_F(DBEditTest, ShowsTheFieldOfTheCurrentRecord) {
  EXPECT_EQ(edit->Field(), name);
  EXPECT_EQ(edit->Text(), "Able");
  dataSet->Next();
  EXPECT_EQ(edit->Text(), "Baker");
  name->SetAsString("Baker & Co");
  EXPECT_EQ(edit->Text(), "Baker & Co");
  edit->SetDataField("CUST_NO");
  EXPECT_EQ(edit->Text(), "2");
}

TEST_F(DBEditTest, ShowsNothingWithoutAnOpenDataSetOrAField) {
  struct Case {
    const char* name;
    void (*change)(TDBEdit&, TDataSource&, TDataSet&);
    void (*undo)(TDBEdit&, TDataSource&, TDataSet&);
  };
  const Case cases[] = {
      {"closed", [](TDBEdit&, TDataSource&, TDataSet& d) { d.Close(); }, [](TDBEdit&, TDataSource&, TDataSet& d) { d.Open(); }},
      {"source disabled", [](TDBEdit&, TDataSource& s, TDataSet&) { s.SetEnabled(false); },
       [](TDBEdit&, TDataSource& s, TDataSet&) { s.SetEnabled(true); }},
      {"no such field", [](TDBEdit& e, TDataSource&, TDataSet&) { e.SetDataField("MISSING"); },
       [](TDBEdit& e, TDataSource&, TDataSet&) { e.SetDataField("CUST_NAME"); }},
      {"no source", [](TDBEdit& e, TDataSource&, TDataSet&) { e.SetDataSource(nullptr); },
       [](TDBEdit& e, TDataSource& s, TDataSet&) { e.SetDataSource(&s); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change(*edit, *source, *dataSet);
    EXPECT_EQ(edit->Text(), "");
    c.undo(*edit, *source, *dataSet);
    EXPECT_EQ(edit->Text(), "Able");
  }
}

TEST_F(DBEditTest, ASourceThatGoesLeavesTheEditEmpty) {
  TObject::Free(source);
  EXPECT_EQ(edit->DataSource(), nullptr);
  EXPECT_EQ(edit->Text(), "");
  dataSet->Next();  // no source left to reach the edit
}

TEST_F(DBEditTest, DataSourceAndDataFieldArePublished) {
  const TPropInfo* info = GetPropInfo(edit, "DataSource");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->PropClass, &TDataSource::StaticClass());
  EXPECT_EQ(GetObjectProp(*edit, *info), source);
  SetStrProp(*edit, *GetPropInfo(edit, "DataField"), "BALANCE");
  EXPECT_EQ(edit->Field(), balance);
}

}  // namespace
}  // namespace qv
