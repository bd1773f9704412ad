#pragma once
// A tree view: nodes with a text and an image, each holding its children.
// Nodes are numbered in the order the tree is shown fully expanded (a node,
// then its children, then its next sibling): the absolute index.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/WinControl.h"

namespace qv {

class TTreeNodes;
class TTreeView;

class TTreeNode : public TPersistent {
  QV_OBJECT(TTreeNode, TPersistent)

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  void* Data() const { return data_; }
  void SetData(void* data) { data_ = data; }

  // nullptr for a node at the top level.
  TTreeNode* Parent() const { return parent_; }
  // The children.
  int Count() const { return static_cast<int>(children_.size()); }
  bool HasChildren() const { return !children_.empty(); }
  // Raises ERangeError for an index outside 0 … Count − 1.
  TTreeNode* Item(int index) const;
  // The position among the siblings.
  int Index() const;
  // The position in the whole tree, fully expanded.
  int AbsoluteIndex() const;
  // 0 at the top level.
  int Level() const;
  TTreeNodes& Owner() const { return owner_; }

 private:
  friend class TTreeNodes;
  TTreeNode(TTreeNodes& owner, TTreeNode* parent, std::string text)
      : owner_(owner), parent_(parent), text_(std::move(text)) {}

  TTreeNodes& owner_;
  TTreeNode* parent_;
  std::string text_;
  int imageIndex_ = -1;
  void* data_ = nullptr;
  std::vector<std::unique_ptr<TTreeNode>> children_;
  mutable int absoluteIndex_ = -1;  // valid while the owner's numbering is
};

class TTreeNodes : public TPersistent {
  QV_OBJECT(TTreeNodes, TPersistent)

  explicit TTreeNodes(TTreeView& view) : view_(view) {}
  ~TTreeNodes() override;

  // All nodes, at every level.
  int Count() const;
  // The node of that absolute index; raises ERangeError outside 0 … Count − 1.
  TTreeNode* Item(int absoluteIndex) const;
  TTreeNode* operator[](int absoluteIndex) const { return Item(absoluteIndex); }
  // The first top-level node, or nullptr.
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front().get(); }

  // A new last sibling of the node (a top-level node when sibling is nullptr).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  // A new last child of the node (a top-level node when parent is nullptr).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  // Removes the node with its children.
  void Delete(TTreeNode* node);
  void Clear();
  TTreeView& Owner() const { return view_; }

 private:
  friend class TTreeNode;
  using NodeList = std::vector<std::unique_ptr<TTreeNode>>;

  NodeList& SiblingsOf(TTreeNode* parent) { return parent ? parent->children_ : roots_; }
  const NodeList& SiblingsOf(const TTreeNode* parent) const { return parent ? parent->children_ : roots_; }
  // Numbers the nodes again when the tree changed since the last numbering.
  void Number() const;
  void Changed(bool structure);

  TTreeView& view_;
  NodeList roots_;
  mutable std::vector<TTreeNode*> order_;  // nodes by absolute index
  mutable bool numbered_ = true;
};

class TTreeView : public TWinControl {
  QV_OBJECT(TTreeView, TWinControl)

  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;

  TTreeNodes& Items() { return *items_; }
  const TTreeNodes& Items() const { return *items_; }

  // The selected node, or nullptr.
  TTreeNode* Selected() const { return selected_; }
  void SetSelected(TTreeNode* node);

 private:
  friend class TTreeNodes;
  void NodeGoing(const TTreeNode* node);
  void ContentChanged() { Changed(ControlChange::Content); }

  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;
};

}  // namespace qv
