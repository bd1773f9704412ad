// The data layer: fields and their conversions, the data set's cursor and
// state checks, data sources telling of changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"
#include "platform/data/Customers.h"
#include "platform/data/DB.h"

namespace qv {
namespace {

class DataChanges : public TObject {
 public:
  void Changed(TObject*, TField* field) { fields.push_back(field); }
  std::vector<TField*> fields;
};

// Three customers: numbers 1 … 3, names, balances.
class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataSet = test::MakeCustomers(&owner);
    number = dataSet->FieldByName("CUST_NO");
    name = dataSet->FieldByName("CUST_NAME");
    balance = dataSet->FieldByName("BALANCE");
  }

  TComponent owner{nullptr};
  TDataSet* dataSet = nullptr;
  TField* number = nullptr;
  TField* name = nullptr;
  TField* balance = nullptr;
};

TEST_F(DataSetTest, FieldsAreFoundByNameWithoutRegardToCase) {
  EXPECT_EQ(dataSet->Fields().Count(), 3);
  EXPECT_EQ(dataSet->FindField("cust_name"), name);
  EXPECT_EQ(dataSet->FieldByName("Balance"), balance);
  EXPECT_EQ(balance->Index(), 2);
  EXPECT_EQ(dataSet->FindField("MISSING"), nullptr);
  try {
    dataSet->FieldByName("MISSING");
    FAIL() << "no error raised";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'MISSING' not found");
    EXPECT_STREQ(e.ClassName(), "EDatabaseError");
  }
}

TEST_F(DataSetTest, DisplayLabelDefaultsToTheFieldNameAndIsPublished) {
  EXPECT_EQ(name->DisplayLabel(), "CUST_NAME");
  name->SetDisplayLabel("Customer");
  EXPECT_EQ(GetStrProp(*name, *GetPropInfo(name, "DisplayLabel")), "Customer");
  EXPECT_EQ(GetStrProp(*name, *GetPropInfo(name, "FieldName")), "CUST_NAME");
  EXPECT_EQ(name->Owner(), dataSet);
}

TEST_F(DataSetTest, TheCursorWalksTheRecords) {
  EXPECT_TRUE(dataSet->Bof());
  std::vector<std::string> names;
  for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) names.push_back(name->AsString());
  EXPECT_EQ(names, (std::vector<std::string>{"Able", "Baker", "Charlie"}));
  EXPECT_EQ(dataSet->RecNo(), 3);
  dataSet->Prior();
  EXPECT_FALSE(dataSet->Eof());
  EXPECT_EQ(number->AsInteger(), 2);
  dataSet->Last();
  EXPECT_TRUE(dataSet->Eof());
  EXPECT_EQ(dataSet->RecordCount(), 3);
}

TEST_F(DataSetTest, ValuesAreConvertedToTheFieldsType) {
  dataSet->Next();  // Baker: no balance
  EXPECT_TRUE(balance->IsNull());
  EXPECT_EQ(balance->AsString(), "");
  EXPECT_EQ(balance->AsFloat(), 0.0);
  number->SetAsString("42");
  EXPECT_EQ(number->AsInteger(), 42);
  EXPECT_TRUE(number->AsVariant().IsNumeric());
  name->SetAsInteger(7);
  EXPECT_EQ(name->AsVariant().ToString(), "7");
  EXPECT_TRUE(name->AsVariant().IsText());
  balance->SetAsFloat(2.5);
  EXPECT_EQ(balance->AsFloat(), 2.5);
  number->Clear();
  EXPECT_TRUE(number->IsNull());
  EXPECT_EQ(number->AsInteger(), 0);
  EXPECT_THROW(number->SetAsString("many"), Exception);
}

TEST_F(DataSetTest, AClosedDataSetRefusesDataAndAnOpenOneNewFields) {
  EXPECT_THROW(dataSet->AddField("MORE", ftString), EDatabaseError);
  dataSet->Close();
  EXPECT_THROW(name->AsString(), EDatabaseError);
  EXPECT_THROW(name->SetAsString("x"), EDatabaseError);
  EXPECT_THROW(dataSet->Next(), EDatabaseError);
  EXPECT_THROW(dataSet->AddField("cust_no", ftString), EDatabaseError);
  dataSet->AddField("MORE", ftString);
  dataSet->Open();
  EXPECT_EQ(name->AsString(), "Able");
  EXPECT_TRUE(dataSet->FieldByName("MORE")->IsNull());
}

TEST(DataSetEmpty, AnEmptyDataSetIsAtBothEndsWithNullFields) {
  TDataSet dataSet(nullptr);
  TField* field = dataSet.AddField("A", ftString);
  dataSet.Open();
  dataSet.First();
  EXPECT_TRUE(dataSet.Eof());
  EXPECT_TRUE(dataSet.Bof());
  EXPECT_TRUE(dataSet.IsEmpty());
  EXPECT_EQ(dataSet.RecNo(), 0);
  EXPECT_TRUE(field->IsNull());
  EXPECT_THROW(field->SetAsString("x"), EDatabaseError);
}

TEST(DataSetLoading, ActiveSetWhileLoadingOpensWhenLoaded) {
  TComponent root(nullptr);
  auto* dataSet = new TDataSet(&root);
  {
    LoadingScope loading(root);
    dataSet->SetActive(true);
    EXPECT_FALSE(dataSet->Active());
  }
  EXPECT_TRUE(dataSet->Active());
}

TEST_F(DataSetTest, ASourceTellsOfMovesAndFieldChangesWhileEnabled) {
  TDataSource source(nullptr);
  DataChanges changes;
  source.OnDataChange = MethodOf<&DataChanges::Changed>(&changes);
  source.SetDataSet(dataSet);
  dataSet->Next();
  name->SetAsString("Baker & Co");
  EXPECT_EQ(changes.fields, (std::vector<TField*>{nullptr, name}));
  source.SetEnabled(false);
  dataSet->Next();
  EXPECT_EQ(changes.fields.size(), 2u);
  EXPECT_EQ(GetObjectProp(source, *GetPropInfo(&source, "DataSet")), dataSet);
}

TEST(DataSource, ForgetsADataSetThatGoes) {
  TDataSource source(nullptr);
  auto* dataSet = new TDataSet(nullptr);
  source.SetDataSet(dataSet);
  TObject::Free(dataSet);
  EXPECT_EQ(source.DataSet(), nullptr);
}

}  // namespace
}  // namespace qv
