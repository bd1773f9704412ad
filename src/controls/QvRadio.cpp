#include "controls/QvRadio.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/ui/controls/CheckBox.h"

namespace qv {

namespace {

// "&x" marks the accelerator x; "&&" is a literal "&".
std::string WithoutAccelerator(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// Sets a flag for the life of the scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// ---- TQvRadioButton ----

const TClass& TQvRadioButton::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQvRadioButton>("TQvRadioButton", &TButtonControl::StaticClass())
          .String("Caption", &TQvRadioButton::Caption, &TQvRadioButton::SetCaption)
          .Boolean("Checked", &TQvRadioButton::Checked, &TQvRadioButton::SetChecked)
          .Enumeration("Alignment", LeftRightType(), &TQvRadioButton::Alignment, &TQvRadioButton::SetAlignment);
  return cls;
}

TQvRadioButton::TQvRadioButton(TComponent* owner) : TButtonControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetTabStop(false);
  SetBounds(0, 0, 113, 17);
}

TQvRadioButton::~TQvRadioButton() = default;

void TQvRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  SetTabStop(checked);
  Repaint();
  if (!checked) return;
  UncheckSiblings();
  if (StateChangeClicks()) Click();
}

void TQvRadioButton::UncheckSiblings() {
  if (!Parent()) return;
  const std::vector<TControl*> siblings = Parent()->ControlList();
  for (TControl* sibling : siblings)
    if (auto* radio = ObjectAs<TQvRadioButton>(sibling); radio && radio != this) radio->SetChecked(false);
}

void TQvRadioButton::SetAlignment(TAlignment alignment) {
  if (alignment == taCenter || alignment == alignment_) return;
  alignment_ = alignment;
  Repaint();
}

void TQvRadioButton::FontChanged() {
  TButtonControl::FontChanged();
  Repaint();
}

int TQvRadioButton::CaptionOffset(int fontSize) {
  struct Step {
    int UpToSize, Offset;
  };
  static constexpr Step kSteps[] = {{8, 17},  {15, 19}, {17, 20}, {23, 21}, {29, 23},
                                    {35, 25}, {41, 27}, {43, 29}, {60, 31}, {80, 39}};
  if (fontSize < 1) return 44;
  for (const Step& step : kSteps)
    if (fontSize <= step.UpToSize) return step.Offset;
  return 44;
}

void TQvRadioButton::Paint() {
  TCanvas& canvas = *canvas_;
  canvas.ClearOperations();
  const TRect client = ClientRect();
  const int x = client.Left + CaptionOffset(Font().Size());
  canvas.Pen().SetColor(Color());
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  canvas.Rectangle(x - 4, client.Top - 4, client.Right + 4, client.Bottom + 4);
  canvas.Font().Assign(Font());
  const std::string text = WithoutAccelerator(Caption());
  const TRect textRect{x, client.Top, client.Right, client.Bottom};
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect(textRect, x, textRect.Top + (textRect.Height() - canvas.TextHeight(text)) / 2, text);
  canvas.Brush().SetStyle(bsSolid);
}

// ---- TQvGroupButton ----

const TClass& TQvGroupButton::StaticClass() {
  static const TClass cls = ClassBuilder<TQvGroupButton>("TQvGroupButton", &TQvRadioButton::StaticClass());
  return cls;
}

TQvGroupButton::TQvGroupButton(TQvRadioGroup& group) : TQvRadioButton(&group), group_(group) { SetParent(&group); }

void TQvGroupButton::Click() {
  TQvRadioButton::Click();
  if (Checked()) group_.ButtonClicked(*this);
}

void TQvGroupButton::KeyDown(Word& key, TShiftState shift) {
  TQvRadioButton::KeyDown(key, shift);
  if (key) group_.KeyDown(key, shift);
}

void TQvGroupButton::KeyPress(std::string& key) {
  TQvRadioButton::KeyPress(key);
  if (!key.empty()) group_.KeyPress(key);
}

// ---- TQvRadioGroup ----

const TClass& TQvRadioGroup::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQvRadioGroup>("TQvRadioGroup", &TCustomGroupBox::StaticClass())
          .String("Caption", &TQvRadioGroup::Caption, &TQvRadioGroup::SetCaption)
          .Object("Items", TStrings::StaticClass(), &TQvRadioGroup::Items, &TQvRadioGroup::SetItems)
          .Integer("ItemIndex", &TQvRadioGroup::ItemIndex, &TQvRadioGroup::SetItemIndex)
          .Integer("Columns", &TQvRadioGroup::Columns, &TQvRadioGroup::SetColumns);
  return cls;
}

TQvRadioGroup::TQvRadioGroup(TComponent* owner) : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = MethodOf<&TQvRadioGroup::ItemsChanged>(this);
}

TQvRadioGroup::~TQvRadioGroup() {
  items_->OnChange.Clear();
  SetButtonCount(0);
}

TQvGroupButton* TQvRadioGroup::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount()) throw ERangeError("Button index out of range");
  return buttons_[static_cast<std::size_t>(index)];
}

void TQvRadioGroup::SetItems(TStrings* items) {
  if (items) items_->Assign(*items);
}

void TQvRadioGroup::SetItemIndex(int index) {
  if (HasState(ComponentStateFlag::Loading)) {
    itemIndex_ = index;
    return;
  }
  index = std::clamp(index, -1, items_->Count() - 1);
  if (index == itemIndex_) return;
  if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) buttons_[static_cast<std::size_t>(itemIndex_)]->SetChecked(false);
  itemIndex_ = index;
  if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) buttons_[static_cast<std::size_t>(itemIndex_)]->SetChecked(true);
}

void TQvRadioGroup::SetColumns(int columns) {
  columns = std::clamp(columns, 1, 16);
  if (columns == columns_) return;
  columns_ = columns;
  ArrangeButtons();
  Changed(ControlChange::Content);
}

void TQvRadioGroup::ButtonClicked(TQvGroupButton& button) {
  if (updating_) return;
  itemIndex_ = static_cast<int>(std::find(buttons_.begin(), buttons_.end(), &button) - buttons_.begin());
  Click();
}

// Items set while loading make their buttons here; an index read from the
// form that no item has is brought inside.
void TQvRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  itemIndex_ = std::clamp(itemIndex_, -1, items_->Count() - 1);
  UpdateButtons();
}

void TQvRadioGroup::Notification(TComponent* component, TOperation operation) {
  TCustomGroupBox::Notification(component, operation);
  if (operation == TOperation::opRemove) buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), component), buttons_.end());
}

void TQvRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TQvRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TQvRadioGroup::ItemsChanged(TObject*) {
  if (HasState(ComponentStateFlag::Loading)) return;
  itemIndex_ = std::min(itemIndex_, items_->Count() - 1);
  UpdateButtons();
}

void TQvRadioGroup::UpdateButtons() {
  SetButtonCount(items_->Count());
  for (int i = 0; i < ButtonCount(); ++i) buttons_[static_cast<std::size_t>(i)]->SetCaption((*items_)[i]);
  if (itemIndex_ >= 0) {
    FlagScope updating(updating_);
    buttons_[static_cast<std::size_t>(itemIndex_)]->SetChecked(true);
  }
  ArrangeButtons();
  Changed(ControlChange::Content);
}

void TQvRadioGroup::SetButtonCount(int count) {
  while (ButtonCount() < count) buttons_.push_back(new TQvGroupButton(*this));
  // Freeing a button removes it from buttons_ (Notification).
  while (ButtonCount() > count) TObject::Free(buttons_.back());
}

// r rows per column; each button as wide as a column and an equal share of
// the height below the caption, the remainder split above and below.
void TQvRadioGroup::ArrangeButtons() {
  const int n = ButtonCount();
  if (n == 0 || HasState(ComponentStateFlag::Loading)) return;
  const int textHeight = TextHeightOf(Font());
  const int rows = (n + columns_ - 1) / columns_;
  const int buttonWidth = (Width() - 10) / columns_;
  const int freeHeight = Height() - textHeight - 5;
  const int buttonHeight = freeHeight / rows;
  const int topMargin = textHeight + 1 + (freeHeight % rows) / 2;
  for (int i = 0; i < n; ++i)
    buttons_[static_cast<std::size_t>(i)]->SetBounds((i / rows) * buttonWidth + 8, (i % rows) * buttonHeight + topMargin,
                                                     buttonWidth, buttonHeight);
}

}  // namespace qv
