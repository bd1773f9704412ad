// Tree views: absolute numbering of nodes in display order as the tree
// grows and shrinks, sibling and child adds, and the selection when its
// node goes.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/controls/TreeView.h"

namespace qv {
namespace {

class TreeViewTest : public ::testing::Test {
 protected:
  // Texts by absolute index, with the level as indentation: "a,.a1,..a11,b".
  std::string Outline() const {
    std::string text;
    const TTreeNodes& nodes = tree.Items();
    for (int i = 0; i < nodes.Count(); ++i) {
      const TTreeNode* node = nodes.Item(i);
      EXPECT_EQ(node->AbsoluteIndex(), i) << node->Text();
      text += (i ? "," : "") + std::string(static_cast<std::size_t>(node->Level()), '.') + node->Text();
    }
    return text;
  }

  TTreeView tree{nullptr};
};

TEST_F(TreeViewTest, NodesAreNumberedInDisplayOrderAsTheTreeChanges) {
  TTreeNodes& nodes = tree.Items();
  TTreeNode* a = nodes.Add(nullptr, "a");
  TTreeNode* b = nodes.Add(a, "b");
  TTreeNode* a1 = nodes.AddChild(a, "a1");
  nodes.AddChild(a1, "a11");
  nodes.Add(a1, "a2");
  EXPECT_EQ(Outline(), "a,.a1,..a11,.a2,b");
  EXPECT_EQ(b->AbsoluteIndex(), 4);

  nodes.AddChild(nullptr, "c");
  nodes.AddChild(b, "b1");
  EXPECT_EQ(Outline(), "a,.a1,..a11,.a2,b,.b1,c");

  nodes.Delete(a1);  // goes with its child
  EXPECT_EQ(Outline(), "a,.a2,b,.b1,c");
  EXPECT_EQ(b->AbsoluteIndex(), 2);
  EXPECT_EQ(a->Count(), 1);
  EXPECT_EQ(a->Item(0)->Text(), "a2");
  EXPECT_EQ(b->Index(), 1);
  EXPECT_EQ(a->Item(0)->Parent(), a);
}

TEST_F(TreeViewTest, IndexesOutsideTheTreeRaise) {
  TTreeNode* a = tree.Items().Add(nullptr, "a");
  tree.Items().AddChild(a, "a1");
  for (int index : {-1, 2}) EXPECT_THROW(tree.Items().Item(index), ERangeError) << index;
  EXPECT_THROW(a->Item(1), ERangeError);
}

TEST_F(TreeViewTest, SelectionGoesWithItsNodeOrAnAncestor) {
  TTreeNodes& nodes = tree.Items();
  TTreeNode* a = nodes.Add(nullptr, "a");
  TTreeNode* b = nodes.Add(nullptr, "b");
  TTreeNode* a11 = nodes.AddChild(nodes.AddChild(a, "a1"), "a11");
  tree.SetSelected(a11);
  nodes.Delete(b);
  EXPECT_EQ(tree.Selected(), a11);
  nodes.Delete(a);
  EXPECT_EQ(tree.Selected(), nullptr);
  EXPECT_EQ(nodes.Count(), 0);
}

TEST_F(TreeViewTest, NodesPublishTheirText) {
  TTreeNode* node = tree.Items().Add(nullptr, "old");
  TObject* holder = nullptr;
  const TPropInfo* items = ResolvePropPath(&tree, "Items", holder);
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(GetObjectProp(tree, *items), &tree.Items());
  const TPropInfo* text = GetPropInfo(node, "Text");
  ASSERT_NE(text, nullptr);
  SetPropText(*node, *text, "new");
  EXPECT_EQ(node->Text(), "new");
}

}  // namespace
}  // namespace qv
