#include "platform/ui/controls/ComboBox.h"

#include <algorithm>
#include <vector>

#include "platform/core/AsciiText.h"

namespace qv {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string WithoutLastCharacter(std::string text) {
  while (!text.empty() && IsContinuationByte(text.back())) text.pop_back();
  if (!text.empty()) text.pop_back();
  return text;
}

// Whether an item begins with a typed character, ASCII letters in either case.
bool BeginsWith(const std::string& item, const std::string& character) {
  if (item.size() < character.size()) return false;
  for (std::size_t i = 0; i < character.size(); ++i)
    if (AsciiLower(item[i]) != AsciiLower(character[i])) return false;
  return true;
}

// An event member of the base class as one of TComboBox, for publishing.
template <class E>
E TComboBox::*Published(E TCustomComboBox::*member) {
  return member;
}

}  // namespace

const TEnumType& ComboBoxStyleType() {
  static const TEnumType type("TComboBoxStyle",
                              {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"});
  return type;
}

const TClass& TCustomComboBox::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClass());
  return cls;
}

const TClass& TComboBox::StaticClass() {
  static const TClass cls =
      ClassBuilder<TComboBox>("TComboBox", &TCustomComboBox::StaticClass())
          .Enumeration("Style", ComboBoxStyleType(), &TComboBox::Style, &TComboBox::SetStyle)
          .Object("Items", TStrings::StaticClass(), [](const TComboBox& c) { return &c.Items(); }, &TComboBox::SetItems)
          .Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
          .String("Text", &TComboBox::Text, &TComboBox::SetText)
          .Integer("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
          .Boolean("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted)
          .Integer("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight)
          .Event("OnChange", Published(&TComboBox::OnChange))
          .Event("OnSelect", Published(&TComboBox::OnSelect))
          .Event("OnDropDown", Published(&TComboBox::OnDropDown))
          .Event("OnCloseUp", Published(&TComboBox::OnCloseUp))
          .Event("OnDrawItem", Published(&TComboBox::OnDrawItem))
          .Event("OnMeasureItem", Published(&TComboBox::OnMeasureItem));
  return cls;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = MethodOf<&TCustomComboBox::ItemsChanged>(this);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() { items_->OnChange.Clear(); }

void TCustomComboBox::SetItems(TStrings* items) {
  if (items) items_->Assign(*items);
}

// ---- selection and text ----

void TCustomComboBox::ApplySelection(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  const bool moved = index != itemIndex_;
  itemIndex_ = index;
  TControl::SetText(index >= 0 ? (*items_)[index] : "");
  if (moved) Changed(ControlChange::Content);
}

void TCustomComboBox::SetItemIndex(int index) {
  if (HasState(ComponentStateFlag::Loading))
    pendingIndex_ = index;
  else
    ApplySelection(index);
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  if (pendingIndex_) ApplySelection(*pendingIndex_);
  pendingIndex_.reset();
}

void TCustomComboBox::SetText(const std::string& text) {
  if (!HasEdit()) return ApplySelection(items_->IndexOf(text));
  TControl::SetText(text);
  const std::vector<std::string> items = items_->ToVector();
  const auto found = std::find(items.begin(), items.end(), text);
  const int index = found == items.end() ? -1 : static_cast<int>(found - items.begin());
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(ControlChange::Content);
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  if (!HasEdit()) TControl::SetText(itemIndex_ >= 0 ? (*items_)[itemIndex_] : "");
  Changed(ControlChange::Content);
}

// The index stays where the list allows; a list style shows its item anew.
void TCustomComboBox::ItemsChanged(TObject*) {
  if (itemIndex_ >= items_->Count())
    ApplySelection(-1);
  else if (!HasEdit() && itemIndex_ >= 0)
    TControl::SetText((*items_)[itemIndex_]);
  Changed(ControlChange::Content);
}

void TCustomComboBox::SetItemHeight(int height) {
  if (height <= 0 || height == itemHeight_) return;
  itemHeight_ = height;
  Changed(ControlChange::Content);
}

void TCustomComboBox::SetDroppedDown(bool droppedDown) {
  if (droppedDown == droppedDown_) return;
  droppedDown_ = droppedDown;
  Changed(ControlChange::Content);
  if (!EventsAllowed()) return;
  if (droppedDown_)
    OnDropDown(this);
  else
    OnCloseUp(this);
}

// ---- events ----

void TCustomComboBox::Change() {
  if (EventsAllowed()) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::SelectByUser(int index) {
  if (index < 0 || index >= items_->Count() || index == itemIndex_) return;
  ApplySelection(index);
  if (!EventsAllowed()) return;
  Click();
  Select();
}

void TCustomComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (IsOwnerDrawn() && EventsAllowed()) OnDrawItem(this, index, rect, state);
}

int TCustomComboBox::MeasureItem(int index) {
  int height = itemHeight_;
  if (style_ == csOwnerDrawVariable && EventsAllowed()) OnMeasureItem(this, index, height);
  return height;
}

// ---- keys ----

void TCustomComboBox::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key == VK_F4 || (key == VK_DOWN && (shift & ssAlt))) {
    SetDroppedDown(!droppedDown_);
  } else if (key == VK_DOWN) {
    SelectByUser(itemIndex_ + 1);
  } else if (key == VK_UP) {
    SelectByUser(itemIndex_ - 1);
  } else if ((key == VK_RETURN || key == VK_ESCAPE) && droppedDown_) {
    SetDroppedDown(false);
  }
}

void TCustomComboBox::KeyPress(std::string& key) {
  TWinControl::KeyPress(key);
  if (key.empty()) return;
  if (HasEdit())
    TypeInEdit(key);
  else
    SelectByFirstCharacter(key);
}

void TCustomComboBox::TypeInEdit(const std::string& character) {
  std::string text = GetText();
  if (character == "\b")
    text = WithoutLastCharacter(text);
  else if (static_cast<unsigned char>(character[0]) >= 0x20)
    text += character;
  if (text == GetText()) return;
  SetText(text);
  Change();
}

// Searches on from the selected item and wraps around.
void TCustomComboBox::SelectByFirstCharacter(const std::string& character) {
  if (static_cast<unsigned char>(character[0]) < 0x20) return;
  const int count = items_->Count();
  for (int step = 1; step <= count; ++step) {
    const int index = (itemIndex_ + step + count) % count;
    if (BeginsWith((*items_)[index], character)) return SelectByUser(index);
  }
}

}  // namespace qv
