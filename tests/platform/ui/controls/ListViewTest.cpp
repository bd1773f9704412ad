// List views: item positions under adds, inserts and deletes, selection by
// mouse and code with its events, sorting, column clicks and fitted column
// widths, and the in-place edit of a caption.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/system/IcuLocaleText.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/ListView.h"

namespace qv {
namespace {

class ListViewTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(0, 0, 300, 200);
    list->SetViewStyle(vsReport);
    list->OnSelectItem = MethodOf<&ListViewTest::SelectItem>(this);
  }
  void TearDown() override { Free(form); }

  TListItem* Add(const std::string& caption, std::vector<std::string> subItems = {}) {
    TListItem* item = list->Items().Add();
    item->SetCaption(caption);
    for (const std::string& text : subItems) item->SubItems().Add(text);
    return item;
  }
  std::string Captions() const {
    std::string text;
    for (const TListItem* item : list->Items()) text += (text.empty() ? "" : ",") + item->Caption();
    return text;
  }
  void ClickRow(int index, TShiftState shift = 0) {
    const TRect r = list->ItemRect(index);
    input::MouseDown(*list, mbLeft, shift, r.Left + 5, r.Top + 1);
  }

 public:
  // Event handlers.
  void SelectItem(TObject*, TListItem* item, bool selected) {
    journal.push_back((selected ? "+" : "-") + item->Caption());
  }
  void RefuseStateChange(TObject*, TListItem*, TItemChange change, bool& allow) { allow = change != ctState; }
  void CompareAsNumbers(TObject*, TListItem* a, TListItem* b, std::intptr_t data, int& compare) {
    const int x = std::atoi(a->Caption().c_str()), y = std::atoi(b->Caption().c_str());
    compare = (x > y) - (x < y);
    if (data) compare = -compare;  // data asks for the reverse order
    ++comparisons;
  }
  void CompareByData(TObject*, TListItem* a, TListItem* b, std::intptr_t, int& compare) {
    const int x = a->Data() ? *static_cast<int*>(a->Data()) : 0, y = b->Data() ? *static_cast<int*>(b->Data()) : 0;
    compare = (x > y) - (x < y);
  }
  void ColumnClick(TObject*, TListColumn* column) { journal.push_back("column " + column->Caption()); }
  void Edited(TObject*, TListItem* item, std::string& s) {
    journal.push_back("edited " + item->Caption() + "->" + s);
    if (s.empty()) s = item->Caption();  // an empty name is refused
  }
  void Deletion(TObject*, TListItem* item) { journal.push_back("deleted " + item->Caption()); }

 protected:

  TForm* form = nullptr;
  TListView* list = nullptr;
  std::vector<std::string> journal;
  int comparisons = 0;
};

TEST_F(ListViewTest, PositionsFollowAddsInsertsAndDeletes) {
  // A long random run against a plain vector: every index and the order must agree.
  std::mt19937 random(7);
  std::vector<TListItem*> model;
  for (int step = 0; step < 3000; ++step) {
    const int count = static_cast<int>(model.size());
    const int action = static_cast<int>(random() % 4);
    if (action == 3 && count > 0) {
      const int index = static_cast<int>(random() % static_cast<unsigned>(count));
      list->Items().Delete(index);
      model.erase(model.begin() + index);
    } else if (action == 2) {
      const int index = static_cast<int>(random() % static_cast<unsigned>(count + 1));
      model.insert(model.begin() + index, list->Items().Insert(index));
    } else {
      model.push_back(list->Items().Add());
    }
  }
  ASSERT_EQ(list->Items().Count(), static_cast<int>(model.size()));
  int index = 0;
  for (TListItem* item : list->Items()) {
    ASSERT_EQ(item, model[static_cast<std::size_t>(index)]) << index;
    ASSERT_EQ(item->Index(), index);
    ASSERT_EQ(list->Items()[index], item);
    ++index;
  }
  EXPECT_THROW(list->Items()[index], ERangeError);
  EXPECT_THROW(list->Items().Insert(index + 1), ERangeError);
  list->Items().Clear();
  EXPECT_EQ(list->Items().Count(), 0);
  EXPECT_EQ(list->Items().begin(), list->Items().end());
}

TEST_F(ListViewTest, SingleSelectionMovesAndReportsBothItems) {
  for (const char* caption : {"a", "b", "c"}) Add(caption);
  list->Items()[0]->SetSelected(true);
  list->Items()[2]->SetSelected(true);
  EXPECT_EQ(journal, (std::vector<std::string>{"+a", "-a", "+c"}));
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->Selected(), list->Items()[2]);
  EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListViewTest, MouseSelectsWithCtrlAndShiftInMultiSelect) {
  form->Show();
  list->SetMultiSelect(true);
  for (const char* caption : {"a", "b", "c", "d", "e"}) Add(caption);

  ClickRow(1);
  ClickRow(3, ssCtrl);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_EQ(list->Selected()->Caption(), "b");  // the first selected by position
  EXPECT_EQ(list->ItemFocused()->Caption(), "d");

  ClickRow(1, ssCtrl);  // toggles off, and "b" has the focus now
  EXPECT_FALSE(list->Items()[1]->Selected());
  ClickRow(4, ssShift);  // from the focused "b" down to "e"
  EXPECT_EQ(list->SelCount(), 4);
  EXPECT_FALSE(list->Items()[0]->Selected());

  journal.clear();
  ClickRow(0);  // a plain click keeps only the clicked item
  EXPECT_EQ(journal, (std::vector<std::string>{"-b", "-c", "-d", "-e", "+a"}));

  const TRect last = list->ItemRect(4);
  input::MouseDown(*list, mbLeft, 0, 5, last.Bottom + 5);  // below the rows
  EXPECT_EQ(list->SelCount(), 0);
}

TEST_F(ListViewTest, OnChangingRefusesSelection) {
  TListItem* item = Add("a");
  list->OnChanging = MethodOf<&ListViewTest::RefuseStateChange>(this);
  item->SetSelected(true);
  EXPECT_FALSE(item->Selected());
  EXPECT_TRUE(journal.empty());
  item->SetCaption("renamed");  // text changes are still allowed
  EXPECT_EQ(item->Caption(), "renamed");
}

TEST_F(ListViewTest, DeletingForgetsSelectionFocusAndEdit) {
  list->OnDeletion = MethodOf<&ListViewTest::Deletion>(this);
  Add("a");
  TListItem* b = Add("b");
  b->SetSelected(true);
  b->SetFocused(true);
  ASSERT_TRUE(list->EditCaption(b));
  b->Delete();
  EXPECT_EQ(journal.back(), "deleted b");
  EXPECT_EQ(list->SelCount(), 0);
  EXPECT_EQ(list->Selected(), nullptr);
  EXPECT_EQ(list->ItemFocused(), nullptr);
  EXPECT_FALSE(list->IsEditing());
}

TEST_F(ListViewTest, AssigningItemsCopiesTheirTextsImagesAndData) {
  int tag = 0;
  TListView source(nullptr);
  TListItem* first = source.Items().AddItem("b", {"螺丝", "10"});
  first->SetImageIndex(3);
  first->SetData(&tag);
  first->SetSelected(true);
  source.Items().AddItem("a", {});
  Add("old");
  list->SetSortType(stText);

  list->Items().Assign(source.Items());
  EXPECT_EQ(Captions(), "a,b");  // a sorted list sorts the copies
  const TListItem* copy = list->Items()[1];
  EXPECT_NE(copy, first);
  ASSERT_EQ(copy->SubItems().Count(), 2);
  EXPECT_EQ(copy->SubItems()[0], "螺丝");
  EXPECT_EQ(copy->SubItems()[1], "10");
  EXPECT_EQ(copy->ImageIndex(), 3);
  EXPECT_EQ(copy->Data(), &tag);
  EXPECT_FALSE(copy->Selected());
  first->SetCaption("changed");
  EXPECT_EQ(Captions(), "a,b");

  list->Items().Assign(list->Items());  // itself: unchanged
  EXPECT_EQ(Captions(), "a,b");
  TStringList strings;
  EXPECT_THROW(list->Items().Assign(strings), EConvertError);
}

TEST_F(ListViewTest, SortTypeSortsWithOnCompareAndKeepsTheListSorted) {
  list->OnCompare = MethodOf<&ListViewTest::CompareAsNumbers>(this);
  for (const char* caption : {"10", "9", "100", "1"}) Add(caption);
  EXPECT_EQ(Captions(), "10,9,100,1");  // no sorting yet

  list->SetSortType(stText);
  EXPECT_EQ(Captions(), "1,9,10,100");
  Add("50");                              // placed, not appended
  list->Items().Insert(0)->SetCaption("5");  // wherever inserted, it goes to its place
  EXPECT_EQ(Captions(), "1,5,9,10,50,100");
  list->Items()[0]->SetCaption("1000");   // a changed caption moves
  EXPECT_EQ(Captions(), "5,9,10,50,100,1000");

  list->SetSortType(stNone);
  Add("7");
  EXPECT_EQ(Captions(), "5,9,10,50,100,1000,7");
}

TEST_F(ListViewTest, SortedInsertionComparesLogarithmicallyOften) {
  list->OnCompare = MethodOf<&ListViewTest::CompareAsNumbers>(this);
  list->SetSortType(stText);
  for (int i = 0; i < 2000; ++i) Add(std::to_string((i * 7919) % 2000));
  EXPECT_LT(comparisons, 2000 * 2 * 40);  // a scan per add would be about 2000 * 1000
  int previous = -1;
  for (const TListItem* item : list->Items()) {
    ASSERT_GT(std::atoi(item->Caption().c_str()), previous);
    previous = std::atoi(item->Caption().c_str());
  }
}

TEST_F(ListViewTest, CustomSortAndAlphaSortWithData) {
  for (const char* caption : {"b", "C", "a"}) Add(caption);
  list->AlphaSort();  // by caption without regard to case
  EXPECT_EQ(Captions(), "a,b,C");
  list->CustomSort([](TListItem* x, TListItem* y, std::intptr_t) { return y->Caption().compare(x->Caption()); }, 0);
  EXPECT_EQ(Captions(), "b,a,C");

  list->Items().Clear();
  for (const char* caption : {"2", "3", "1"}) Add(caption);
  list->OnCompare = MethodOf<&ListViewTest::CompareAsNumbers>(this);
  list->CustomSort(nullptr, 1);  // OnCompare receives the data
  EXPECT_EQ(Captions(), "3,2,1");
}

TEST_F(ListViewTest, CaptionsSortInTheUsersLocale) {
  ScopedTextLocale locale("zh_CN.UTF-8");
  list->SetSortType(stText);
  for (const char* caption : {"中", "éMILE", "北", "Émile", "啊"}) Add(caption);
  // Pinyin order; captions equal but for case follow their exact order.
  EXPECT_EQ(Captions(), "啊,北,中,Émile,éMILE");
}

TEST_F(ListViewTest, SortByDataFollowsDataChanges) {
  int keys[3] = {30, 10, 20};
  list->OnCompare = MethodOf<&ListViewTest::CompareByData>(this);
  list->SetSortType(stData);
  TListItem* a = Add("a");
  TListItem* b = Add("b");
  TListItem* c = Add("c");
  EXPECT_EQ(Captions(), "a,b,c");  // equal (absent) data keep the arrival order
  a->SetData(&keys[0]);
  b->SetData(&keys[1]);
  c->SetData(&keys[2]);
  EXPECT_EQ(Captions(), "b,c,a");
  b->SetCaption("z");  // captions do not sort a list sorted by data
  EXPECT_EQ(Captions(), "z,c,a");
}

TEST_F(ListViewTest, ColumnClickFromTheHeader) {
  form->Show();
  list->OnColumnClick = MethodOf<&ListViewTest::ColumnClick>(this);
  TListColumn* name = list->Columns().Add();
  name->SetCaption("Name");
  name->SetWidth(100);
  list->Columns().Add()->SetCaption("Date");
  input::MouseDown(*list, mbLeft, 0, 120, 2);
  EXPECT_EQ(journal, (std::vector<std::string>{"column Date"}));

  list->SetColumnClick(false);
  input::MouseDown(*list, mbLeft, 0, 10, 2);
  list->SetColumnClick(true);
  list->SetShowColumnHeaders(false);  // no header: the point is a row
  input::MouseDown(*list, mbLeft, 0, 10, 2);
  EXPECT_EQ(journal.size(), 1u);
}

TEST_F(ListViewTest, FittedColumnWidthsUseTheTextMetrics) {
  // Font height 13: a CJK character is 13 wide, any other 7; each column adds 6 each side.
  TListColumn* name = list->Columns().Add();
  TListColumn* date = list->Columns().Add();
  name->SetCaption("名称");
  date->SetCaption("Date");
  name->SetWidth(ColumnTextWidth);
  date->SetWidth(ColumnTextWidth);
  Add("制表日期", {"2024"});
  TListItem* longest = Add("ab", {"2024/01/01"});
  EXPECT_EQ(name->Width(), 52 + 12);
  EXPECT_EQ(date->Width(), 70 + 12);
  EXPECT_EQ(name->WidthType(), ColumnTextWidth);

  longest->SubItems().SetStrings(0, "x");  // shrinks with its contents
  EXPECT_EQ(date->Width(), 28 + 12);
  list->Items().Delete(0);
  EXPECT_EQ(name->Width(), 14 + 12);

  name->SetWidth(ColumnHeaderWidth);
  EXPECT_EQ(name->Width(), 26 + 12);
  date->SetWidth(ColumnHeaderWidth);  // the last one takes the rest of the row
  EXPECT_EQ(date->Width(), list->ClientWidth() - name->Width());
  date->SetWidth(80);
  date->SetAutoSize(true);
  EXPECT_EQ(date->Width(), list->ClientWidth() - name->Width());
}

TEST_F(ListViewTest, InPlaceEditPassesTheTextThroughOnEdited) {
  list->OnEdited = MethodOf<&ListViewTest::Edited>(this);
  TListItem* item = Add("old");
  ASSERT_TRUE(item->EditCaption());
  EXPECT_EQ(list->EditingItem(), item);
  list->EndEdit("new");
  EXPECT_EQ(item->Caption(), "new");
  EXPECT_FALSE(list->IsEditing());

  ASSERT_TRUE(list->EditCaption(item));
  list->EndEdit("");  // the handler puts the old caption back
  EXPECT_EQ(item->Caption(), "new");
  EXPECT_EQ(journal, (std::vector<std::string>{"edited old->new", "edited new->"}));

  ASSERT_TRUE(list->EditCaption(item));
  list->CancelEdit();
  list->EndEdit("ignored");
  EXPECT_EQ(item->Caption(), "new");

  list->SetReadOnly(true);
  EXPECT_FALSE(list->EditCaption(item));
}

TEST_F(ListViewTest, KeysMoveTheSelectionAndF2Edits) {
  form->Show();
  for (const char* caption : {"a", "b", "c"}) Add(caption);
  input::Key(*list, VK_DOWN);
  input::Key(*list, VK_DOWN);
  EXPECT_EQ(list->Selected()->Caption(), "b");
  input::Key(*list, VK_END);
  EXPECT_EQ(list->Selected()->Caption(), "c");
  input::Key(*list, VK_F2);
  EXPECT_EQ(list->EditingItem(), list->Items()[2]);
}

}  // namespace
}  // namespace qv
