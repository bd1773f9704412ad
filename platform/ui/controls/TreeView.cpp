#include "platform/ui/controls/TreeView.h"

#include <algorithm>

#include "platform/core/Exception.h"

namespace qv {

namespace {

std::string RangeMessage(int index) { return "List index out of bounds (" + std::to_string(index) + ")"; }

// Appends the node and its descendants in display order.
void Flatten(const TTreeNode& node, std::vector<TTreeNode*>& order) {
  order.push_back(const_cast<TTreeNode*>(&node));
  for (int i = 0; i < node.Count(); ++i) Flatten(*node.Item(i), order);
}

}  // namespace

// ---- TTreeNode ----

const TClass& TTreeNode::StaticClass() {
  static const TClass cls = ClassBuilder<TTreeNode>("TTreeNode", &TPersistent::StaticClass())
                                .String("Text", &TTreeNode::Text, &TTreeNode::SetText)
                                .Integer("ImageIndex", &TTreeNode::ImageIndex, &TTreeNode::SetImageIndex)
                                .Integer("AbsoluteIndex", &TTreeNode::AbsoluteIndex)
                                .Integer("Count", &TTreeNode::Count);
  return cls;
}

void TTreeNode::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  owner_.Changed(false);
}

void TTreeNode::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  owner_.Changed(false);
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(RangeMessage(index));
  return children_[static_cast<std::size_t>(index)].get();
}

int TTreeNode::Index() const {
  const auto& siblings = owner_.SiblingsOf(parent_);
  const auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& n) { return n.get() == this; });
  return static_cast<int>(it - siblings.begin());
}

int TTreeNode::AbsoluteIndex() const {
  owner_.Number();
  return absoluteIndex_;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

// ---- TTreeNodes ----

const TClass& TTreeNodes::StaticClass() {
  static const TClass cls =
      ClassBuilder<TTreeNodes>("TTreeNodes", &TPersistent::StaticClass()).Integer("Count", &TTreeNodes::Count);
  return cls;
}

TTreeNodes::~TTreeNodes() = default;

void TTreeNodes::Number() const {
  if (numbered_) return;
  order_.clear();
  for (const auto& root : roots_) Flatten(*root, order_);
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i]->absoluteIndex_ = static_cast<int>(i);
  numbered_ = true;
}

int TTreeNodes::Count() const {
  Number();
  return static_cast<int>(order_.size());
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= Count()) throw ERangeError(RangeMessage(absoluteIndex));
  return order_[static_cast<std::size_t>(absoluteIndex)];
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddChild(sibling ? sibling->parent_ : nullptr, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  NodeList& siblings = SiblingsOf(parent);
  siblings.push_back(std::unique_ptr<TTreeNode>(new TTreeNode(*this, parent, text)));
  Changed(true);
  return siblings.back().get();
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || &node->owner_ != this) return;
  view_.NodeGoing(node);
  NodeList& siblings = SiblingsOf(node->parent_);
  siblings.erase(siblings.begin() + node->Index());
  Changed(true);
}

void TTreeNodes::Clear() {
  if (roots_.empty()) return;
  view_.SetSelected(nullptr);
  roots_.clear();
  Changed(true);
}

void TTreeNodes::Changed(bool structure) {
  if (structure) numbered_ = false;
  view_.ContentChanged();
}

// ---- TTreeView ----

const TClass& TTreeView::StaticClass() {
  static const TClass cls =
      ClassBuilder<TTreeView>("TTreeView", &TWinControl::StaticClass())
          .Object("Items", TTreeNodes::StaticClass(), [](const TTreeView& v) { return &v.Items(); });
  return cls;
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TTreeNodes>(*this)) {}

TTreeView::~TTreeView() {
  selected_ = nullptr;
  items_.reset();
}

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == selected_) return;
  selected_ = node;
  ContentChanged();
}

void TTreeView::NodeGoing(const TTreeNode* node) {
  for (const TTreeNode* n = selected_; n; n = n->Parent())
    if (n == node) return SetSelected(nullptr);
}

}  // namespace qv
