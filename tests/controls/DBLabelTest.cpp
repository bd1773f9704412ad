// Caption labels bound to a control: placed at a side of it, one per
// control, with the caption taken from a bound data field.
#include "controls/DBLabel.h"

#include <gtest/gtest.h>

#include <string>

#include "DialogRecorder.h"
#include "platform/core/TypInfo.h"
#include "platform/data/DB.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/controls/DBEdit.h"
#include "platform/ui/controls/Edit.h"

namespace qv {
namespace {

class DBLabelTest : public testing::Test {
 public:  // the case tables below reach in from lambdas
  DBLabelTest() {
    form->SetBounds(0, 0, 400, 300);
    form->Font().SetHeight(13);  // "制表日期" is then 52 × 13
    edit = NewEdit<TEdit>(104, 9, 21);
    label = NewLabel();
  }
  ~DBLabelTest() override { TObject::Free(form); }

  template <class T>
  T* NewEdit(int left, int top, int height) {
    auto* e = new T(form);
    e->SetParent(form);
    e->SetBounds(left, top, 120, height);
    return e;
  }
  TDBLabel* NewLabel() {
    auto* l = new TDBLabel(form);
    l->SetParent(form);
    l->SetCaption("制表日期");
    return l;
  }

  TForm* form = CreateForm<TForm>(nullptr);
  TEdit* edit;
  TDBLabel* label;
};

TEST_F(DBLabelTest, StartsWithItsOwnCaptionAtTheLeft) {
  TDBLabel fresh(nullptr);
  EXPECT_EQ(fresh.Caption(), "挂靠标签");
  EXPECT_EQ(fresh.Pos(), psLeft);
  EXPECT_EQ(fresh.Gap(), 4);
  EXPECT_TRUE(fresh.AutoAlign());
  EXPECT_TRUE(fresh.AutoCaption());
}

struct PlaceCase {
  const char* what;
  TPos pos;
  int gap;
  int editLeft, editTop, editHeight;
  int left, top;
};

TEST_F(DBLabelTest, PlacesItselfAtTheChosenSide) {
  ASSERT_EQ(label->Width(), 52);
  ASSERT_EQ(label->Height(), 13);
  const PlaceCase cases[] = {
      {"left, centred on the edit", psLeft, 4, 104, 9, 21, 48, 13},
      {"left, centre rounded down", psLeft, 4, 104, 9, 30, 48, 18},
      {"left, same height: same top", psLeft, 4, 104, 9, 13, 48, 9},
      {"left, no room: at the edge", psLeft, 4, 20, 9, 21, 0, 13},
      {"right", psRight, 4, 104, 9, 21, 228, 13},
      {"top", psTop, 4, 104, 40, 21, 104, 23},
      {"top, at the top of the parent", psTop, 4, 104, 9, 21, 104, 0},
      {"bottom", psBottom, 6, 104, 9, 21, 104, 36},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    label->SetFocusControl(nullptr);
    edit->SetBounds(c.editLeft, c.editTop, 120, c.editHeight);
    label->SetPos(c.pos);
    label->SetGap(static_cast<std::uint8_t>(c.gap));
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Left(), c.left);
    EXPECT_EQ(label->Top(), c.top);
    EXPECT_EQ(label->Width(), 52);
  }
}

TEST_F(DBLabelTest, EachPropertyReplacesUnlessAutoAlignIsOff) {
  label->SetFocusControl(edit);
  SetPropText(*label, *GetPropInfo(label, "Pos"), "psTop");
  EXPECT_EQ(label->BoundsRect(), (TRect{104, 0, 156, 13}));
  label->SetPos(psRight);
  EXPECT_EQ(label->Left(), 228);
  label->SetAutoAlign(false);
  label->SetGap(20);
  label->SetPos(psLeft);
  EXPECT_EQ(label->Left(), 228);
  label->SetAutoAlign(true);
  EXPECT_EQ(label->Left(), 32);
}

TEST_F(DBLabelTest, FollowsTheControlOnlyWhileDesigning) {
  label->SetFocusControl(edit);
  edit->SetBounds(200, 100, 120, 21);
  EXPECT_EQ(label->Left(), 48);
  form->SetDesigning(true);
  edit->SetBounds(210, 110, 120, 21);
  EXPECT_EQ(label->BoundsRect(), (TRect{154, 114, 206, 127}));
}

TEST_F(DBLabelTest, SecondLabelForTheSameControlIsRefused) {
  label->SetFocusControl(edit);
  TEdit* other = NewEdit<TEdit>(104, 60, 21);
  TDBLabel* second = NewLabel();
  second->SetFocusControl(other);
  test::DialogRecorder dialogs;
  SetObjectProp(*second, *GetPropInfo(second, "FocusControl"), edit);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].message, "不能同时有两个 DBLabel 指到同一个 Control.");
  EXPECT_EQ(dialogs.shown[0].kind, "mtError");
  EXPECT_TRUE(dialogs.shown[0].hasOnlyOK);
  EXPECT_EQ(second->FocusControl(), other);
  EXPECT_EQ(second->Top(), 64);

  label->SetFocusControl(edit);  // its own control again: refused without a word
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(label->FocusControl(), edit);
}

TEST_F(DBLabelTest, FreedControlUnbindsTheLabel) {
  label->SetFocusControl(edit);
  TObject::Free(edit);
  EXPECT_EQ(label->FocusControl(), nullptr);
  label->SetPos(psTop);  // nothing to place against
  EXPECT_EQ(label->Left(), 48);
}

// A data edit bound through a source to a data set with fields.
class DBLabelCaptionTest : public DBLabelTest {
 public:
  DBLabelCaptionTest() {
    dataSet->AddField("CustNo", ftInteger);
    dataSet->AddField("CustName", ftString)->SetDisplayLabel("客户");
    source->SetDataSet(dataSet);
    dbEdit->SetDataSource(source);
    dbEdit->SetDataField("CustName");
  }

  TDataSet* dataSet = new TDataSet(form);
  TDataSource* source = new TDataSource(form);
  TDBEdit* dbEdit = NewEdit<TDBEdit>(104, 9, 21);
};

TEST_F(DBLabelCaptionTest, TakesTheFieldsDisplayLabelBeforePlacing) {
  label->SetFocusControl(dbEdit);
  EXPECT_EQ(label->Caption(), "客户");
  EXPECT_EQ(label->BoundsRect(), (TRect{74, 13, 100, 26})) << "placed at its new size";
}

TEST_F(DBLabelCaptionTest, KeepsItsCaptionWhenTheFieldCannotBeFound) {
  const struct {
    const char* what;
    void (*spoil)(DBLabelCaptionTest&);
    const char* caption;
  } cases[] = {
      {"field name in another case", [](DBLabelCaptionTest& t) { t.dbEdit->SetDataField("custname"); }, "客户"},
      {"no such field", [](DBLabelCaptionTest& t) { t.dbEdit->SetDataField("Missing"); }, "制表日期"},
      {"no data field", [](DBLabelCaptionTest& t) { t.dbEdit->SetDataField(""); }, "制表日期"},
      {"no data set", [](DBLabelCaptionTest& t) { t.source->SetDataSet(nullptr); }, "制表日期"},
      {"no data source", [](DBLabelCaptionTest& t) { t.dbEdit->SetDataSource(nullptr); }, "制表日期"},
      {"automatic caption off", [](DBLabelCaptionTest& t) { t.label->SetAutoCaption(false); }, "制表日期"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    label->SetFocusControl(nullptr);
    label->SetAutoCaption(true);
    label->SetCaption("制表日期");
    dbEdit->SetDataField("CustName");
    source->SetDataSet(dataSet);
    dbEdit->SetDataSource(source);
    c.spoil(*this);
    label->SetFocusControl(dbEdit);
    EXPECT_EQ(label->Caption(), c.caption);
  }
}

TEST_F(DBLabelCaptionTest, PlainControlsKeepTheDesignedCaption) {
  label->SetFocusControl(edit);
  EXPECT_EQ(label->Caption(), "制表日期");
}

TEST_F(DBLabelCaptionTest, CaptionAndPlaceFollowOnceTheFormHasLoaded) {
  TDBLabel* late;
  {
    LoadingScope loading(*form);
    late = new TDBLabel(form);
    late->SetParent(form);
    late->SetPos(psRight);
    late->SetFocusControl(dbEdit);
    dbEdit->SetBounds(10, 50, 100, 21);
    EXPECT_EQ(late->Caption(), "挂靠标签");
  }
  EXPECT_EQ(late->Caption(), "客户");
  EXPECT_EQ(late->BoundsRect(), (TRect{114, 54, 140, 67}));
}

}  // namespace
}  // namespace qv
