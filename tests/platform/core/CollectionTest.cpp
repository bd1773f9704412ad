// Collections: items made by the collection's factory, their positions as
// items come and go, change notification, and item properties reached by
// name like those of any object.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/core/Collection.h"
#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"

namespace qv {
namespace {

class TPanelItem : public TCollectionItem {
  QV_OBJECT(TPanelItem, TCollectionItem)

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) {
    text_ = text;
    Changed();
  }

 private:
  std::string text_;
};

const TClass& TPanelItem::StaticClass() {
  static const TClass cls = ClassBuilder<TPanelItem>("TPanelItem", &TCollectionItem::StaticClass())
                                .String("Text", &TPanelItem::Text, &TPanelItem::SetText);
  return cls;
}

class CollectionTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override { panels->OnChange = MethodOf<&CollectionTest::Change>(this); }
  void Change(TObject*) { ++changes; }

  std::unique_ptr<TCollection> panels = TCollection::Of<TPanelItem>();
  int changes = 0;
};

TEST_F(CollectionTest, ItemsKnowTheirCollectionAndPosition) {
  TCollectionItem* first = panels->Add();
  TCollectionItem* second = panels->Add();
  TCollectionItem* third = panels->Add();
  EXPECT_TRUE(first->Is<TPanelItem>());
  EXPECT_EQ(first->Collection(), panels.get());
  EXPECT_EQ(third->Index(), 2);
  panels->Delete(0);
  EXPECT_EQ(panels->Count(), 2);
  EXPECT_EQ(panels->Items(0), second);
  EXPECT_EQ(third->Index(), 1);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(TPanelItem().Index(), -1);
}

TEST_F(CollectionTest, IndexesOutsideTheCollectionRaise) {
  panels->Add();
  for (int index : {-1, 1}) {
    EXPECT_THROW(panels->Items(index), ERangeError) << index;
    EXPECT_THROW(panels->Delete(index), ERangeError) << index;
  }
  EXPECT_EQ(panels->Count(), 1);
}

TEST_F(CollectionTest, ItemPropertiesAreSetByNameAndReported) {
  TCollectionItem* item = panels->Add();
  changes = 0;
  const TPropInfo* text = GetPropInfo(item, "Text");
  ASSERT_NE(text, nullptr);
  SetPropText(*item, *text, "Ready");
  EXPECT_EQ(static_cast<TPanelItem*>(item)->Text(), "Ready");
  EXPECT_EQ(changes, 1);
  panels->Clear();
  EXPECT_EQ(panels->Count(), 0);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace qv
