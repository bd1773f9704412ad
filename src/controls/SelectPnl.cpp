#include "controls/SelectPnl.h"

#include <algorithm>

#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "platform/core/Exception.h"
#include "platform/core/LocaleText.h"
#include "platform/core/NumberText.h"
#include "platform/core/ScopedValue.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace qv {

namespace {

constexpr int crHandPoint = -21;

// Characters (code points) in a UTF-8 text.
int CharacterCount(const std::string& text) {
  int count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

// A whole number read from a text; 0 when it is not one.
std::int64_t IntegerOrZero(const std::string& text) {
  std::int64_t value;
  return TryStrToInt64(text, value) ? value : 0;
}

// A decimal text rewritten from its whole and fractional digits, so a
// fraction that is not digits (or a whole part that is not a number) counts
// as 0 while the value of a well-formed number stays.
std::string NormalFloatText(const std::string& text) {
  const std::size_t point = text.find('.');
  std::string whole = IntToStr(IntegerOrZero(text.substr(0, point)));
  if (point == std::string::npos) return whole;
  // A whole part "-0" reads as 0, yet its sign belongs to the fraction: "-0.5" stays below zero.
  const std::string wholeText(Trim(text.substr(0, point)));
  if (wholeText.size() > 1 && wholeText[0] == '-' && wholeText.find_first_not_of('0', 1) == std::string::npos)
    whole = "-0";
  std::string fraction(Trim(text.substr(point + 1)));
  const bool digits = !fraction.empty() && std::all_of(fraction.begin(), fraction.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
  return whole + "." + (digits ? fraction : "0");
}

double FloatOrZero(const std::string& text) {
  double value;
  return TryStrToFloat(text, value) ? value : 0;
}

int Occurrences(const std::string& text, const std::string& sign) {
  if (sign.empty()) return 0;
  int count = 0;
  for (std::size_t at = text.find(sign); at != std::string::npos; at = text.find(sign, at + sign.size())) ++count;
  return count;
}

}  // namespace

const TEnumType& SelectStyleType() {
  static const TEnumType type("TSelectStyle", {"sp_Range", "sp_Discrete", "sp_UserChoice"});
  return type;
}

const TEnumType& ValueTypeType() {
  static const TEnumType type("TValueType", {"vt_String", "vt_Number", "vt_Date", "vt_Time", "vt_Float", "vt_OtherMask"});
  return type;
}

const TEnumType& DateTypeType() {
  static const TEnumType type("TDateType",
                              {"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY", "dt_DDMMYYYY", "dt_YYMMDD", "dt_YYYMMDD"});
  return type;
}

const TEnumType& CheckDuplicateType() {
  static const TEnumType type("TCheckDuplicate", {"cd_None", "cd_CheckCase", "cd_CaseInsensitive"});
  return type;
}

// ===========================================================================
// TVellMaskEdit
// ===========================================================================

const TClass& TVellMaskEdit::StaticClass() {
  static const TClass cls = ClassBuilder<TVellMaskEdit>("TVellMaskEdit", &TMaskEdit::StaticClass());
  return cls;
}

void TVellMaskEdit::Change() {
  if (!suppressChange_) TMaskEdit::Change();
}

const TClass& TVellCheckBox::StaticClass() {
  static const TClass cls = ClassBuilder<TVellCheckBox>("TVellCheckBox", &TBitCheckBox::StaticClass());
  return cls;
}

// ===========================================================================
// TVellListView
// ===========================================================================

const TClass& TVellListView::StaticClass() {
  static const TClass cls = ClassBuilder<TVellListView>("TVellListView", &TListView::StaticClass())
                                .Boolean("ColumnsAutoSize", &TVellListView::ColumnsAutoSize,
                                         &TVellListView::SetColumnsAutoSize);
  return cls;
}

TVellListView::TVellListView(TComponent* owner) : TListView(owner) {}

void TVellListView::LengthTally::Add(int length) {
  if (length >= static_cast<int>(counts_.size())) counts_.resize(static_cast<std::size_t>(length) + 1);
  ++counts_[static_cast<std::size_t>(length)];
  longest_ = std::max(longest_, length);
}

void TVellListView::LengthTally::Remove(int length) {
  if (length >= static_cast<int>(counts_.size()) || counts_[static_cast<std::size_t>(length)] == 0) return;
  --counts_[static_cast<std::size_t>(length)];
  while (longest_ > 0 && counts_[static_cast<std::size_t>(longest_)] == 0) --longest_;
}

void TVellListView::LengthTally::Clear() {
  counts_.clear();
  longest_ = 0;
}

TSelectPanel* TVellListView::Panel() const { return ObjectAs<TSelectPanel>(Owner()); }

void TVellListView::TallyRow(TListItem* item, bool add) {
  const int columns = 1 + item->SubItems().Count();
  if (static_cast<int>(tallies_.size()) < columns) tallies_.resize(static_cast<std::size_t>(columns));
  for (int k = 0; k < columns; ++k) {
    const int length = CharacterCount(k == 0 ? item->Caption() : item->SubItems()[k - 1]);
    add ? tallies_[static_cast<std::size_t>(k)].Add(length) : tallies_[static_cast<std::size_t>(k)].Remove(length);
  }
}

// Counts every row again after changes this list did not make itself.
void TVellListView::Recount() {
  tallies_.clear();
  subItemCount_ = 0;
  for (TListItem* item : Items()) subItemCount_ = std::max(subItemCount_, item->SubItems().Count());
  for (TListItem* item : Items()) {
    while (item->SubItems().Count() < subItemCount_) item->SubItems().Add("");
    TallyRow(item, true);
  }
  tallyValid_ = true;
}

// Every row gets as many sub-items as the row with the most.
void TVellListView::PadRows() {
  int most = subItemCount_;
  for (TListItem* item : Items()) most = std::max(most, item->SubItems().Count());
  if (static_cast<int>(tallies_.size()) < most + 1) tallies_.resize(static_cast<std::size_t>(most) + 1);
  for (TListItem* item : Items())
    while (item->SubItems().Count() < most) {
      item->SubItems().Add("");
      tallies_[static_cast<std::size_t>(item->SubItems().Count())].Add(0);
    }
  subItemCount_ = most;
}

void TVellListView::FitColumns() {
  const int c = TextWidthOf(Font(), "W");
  for (int k = 0; k < Columns().Count(); ++k) {
    TListColumn* column = Columns()[k];
    const int longest = k < static_cast<int>(tallies_.size()) ? tallies_[static_cast<std::size_t>(k)].Longest() : 0;
    column->SetWidth(c * std::max(CharacterCount(column->Caption()), longest));
  }
}

bool TVellListView::AddRow(const std::vector<std::string>& values) {
  if (values.empty()) return false;
  try {
    if (!tallyValid_) Recount();
    const ScopedValue ownChange(ownChange_, true);
    while (Columns().Count() < static_cast<int>(values.size())) {
      const std::string caption = "Data" + std::to_string(Columns().Count() + 1);
      Columns().Add()->SetCaption(caption);
    }
    std::vector<std::string> subItems(values.begin() + 1, values.end());
    const int widest = std::max(subItemCount_, static_cast<int>(subItems.size()));
    subItems.resize(static_cast<std::size_t>(widest));
    TListItem* item = Items().AddItem(values[0], subItems);
    TallyRow(item, true);
    if (widest > subItemCount_) PadRows();
    const TSelectPanel* panel = Panel();
    RemoveDuplicates(panel ? panel->CheckDuplicate() : cd_None, item);
    if (columnsAutoSize_) FitColumns();
    return true;
  } catch (...) {
    // Rows may have come or stayed unseen by the tallies and the pass.
    tallyValid_ = false;
    mayHaveDuplicates_ = true;
    return false;
  }
}

void TVellListView::ClearRows() { Items().Clear(); }

namespace {

bool SameCaption(TCheckDuplicate check, const std::string& a, const std::string& b) {
  return check == cd_CheckCase ? a == b : LocaleSameText(a, b);
}

}  // namespace

void TVellListView::RemoveDuplicates(TCheckDuplicate check, TListItem* added) {
  if (check == cd_None) {
    if (added) mayHaveDuplicates_ = true;
    return;
  }
  const bool allPairs = !added || mayHaveDuplicates_;
  mayHaveDuplicates_ = true;  // until the pass is through
  const ScopedValue ownChange(ownChange_, true);
  if (allPairs) {
    TListItems& items = Items();
    for (int i = items.Count() - 1; i >= 1; --i)
      if (SameCaption(check, items[i]->Caption(), items[i - 1]->Caption())) items.Delete(i);
  } else {
    // The rows had no equal neighbours, so only the pairs with the new row
    // can be equal; they are met in the order a pass from the end meets them.
    if (TListItem* next = TListItems::Next(added); next && SameCaption(check, next->Caption(), added->Caption()))
      next->Delete();
    if (TListItem* prev = TListItems::Prev(added); prev && SameCaption(check, added->Caption(), prev->Caption()))
      added->Delete();
  }
  mayHaveDuplicates_ = false;
}

void TVellListView::Delete(TListItem* item) {
  try {
    TListView::Delete(item);
  } catch (...) {
    tallyValid_ = false;  // the handler kept this row, and maybe others of the same clearing
    throw;
  }
  if (tallyValid_) TallyRow(item, false);
  if (!ownChange_) mayHaveDuplicates_ = true;
}

void TVellListView::TextsChanged() {
  if (ownChange_) return;
  tallyValid_ = false;
  mayHaveDuplicates_ = true;
}

void TVellListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !Focused() && CanFocus()) SetFocus();
  if (button == mbLeft && !Focused()) return;
  TListView::MouseDown(button, shift, x, y);
}

// ===========================================================================
// TSelectPanel: construction
// ===========================================================================

const TClass& TSelectPanel::StaticClass() {
  static const TClass cls =
      ClassBuilder<TSelectPanel>("TSelectPanel", &TGroupBox::StaticClass())
          .Enumeration("Style", SelectStyleType(), &TSelectPanel::Style, &TSelectPanel::SetStyle)
          .Boolean("UserChoice", &TSelectPanel::UserChoice, &TSelectPanel::SetUserChoice)
          .Boolean("UseVertical", &TSelectPanel::UseVertical, &TSelectPanel::SetUseVertical)
          .String("HintWord", &TSelectPanel::HintWord, &TSelectPanel::SetHintWord)
          .Object("BeginWords", TStrings::StaticClass(), &TSelectPanel::BeginWords, &TSelectPanel::SetBeginWords)
          .Object("FinalWords", TStrings::StaticClass(), &TSelectPanel::FinalWords, &TSelectPanel::SetFinalWords)
          .Object("ChildHints", TStrings::StaticClass(), &TSelectPanel::ChildHints, &TSelectPanel::SetChildHints)
          .Boolean("CanOpenWin", &TSelectPanel::CanOpenWin, &TSelectPanel::SetCanOpenWin)
          .Integer("GlyphIndex", &TSelectPanel::GlyphIndex, &TSelectPanel::SetGlyphIndex)
          .String("EditMask", &TSelectPanel::EditMask, &TSelectPanel::SetEditMask)
          .Enumeration("ValueType", ValueTypeType(), &TSelectPanel::ValueType, &TSelectPanel::SetValueType)
          .Enumeration("DateType", DateTypeType(), &TSelectPanel::DateType, &TSelectPanel::SetDateType)
          .String("DateSign", &TSelectPanel::DateSign, &TSelectPanel::SetDateSign)
          .Boolean("AutoChangeDateSite", &TSelectPanel::AutoChangeDateSite, &TSelectPanel::SetAutoChangeDateSite)
          .Boolean("UseDiscard", &TSelectPanel::UseDiscard, &TSelectPanel::SetUseDiscard)
          .String("Discard", &TSelectPanel::Discard, &TSelectPanel::SetDiscard)
          .Integer("OtherWidth", &TSelectPanel::OtherWidth, &TSelectPanel::SetOtherWidth)
          .Integer("OtherHeight", &TSelectPanel::OtherHeight, &TSelectPanel::SetOtherHeight)
          .Enumeration("CheckDuplicate", CheckDuplicateType(), &TSelectPanel::CheckDuplicate,
                       &TSelectPanel::SetCheckDuplicate)
          .Boolean("SortListBox", &TSelectPanel::SortListBox, &TSelectPanel::SetSortListBox)
          .Object("Columns", TListColumns::StaticClass(), [](const TSelectPanel& p) { return &p.Columns(); })
          .Boolean("ColumnsAutoSize", &TSelectPanel::ColumnsAutoSize, &TSelectPanel::SetColumnsAutoSize)
          .Boolean("ShowColumnHeader", &TSelectPanel::ShowColumnHeader, &TSelectPanel::SetShowColumnHeader)
          .Boolean("HideSelection", &TSelectPanel::HideSelection, &TSelectPanel::SetHideSelection)
          .Object("Items", TListItems::StaticClass(), [](const TSelectPanel& p) { return &p.Items(); },
                  &TSelectPanel::SetItems)
          .Event("OnStyleChanging", &TSelectPanel::OnStyleChanging)
          .Event("OnStyleChange", &TSelectPanel::OnStyleChange)
          .Event("OnTypeClick", &TSelectPanel::OnTypeClick)
          .Event("OnOpenWinClick", &TSelectPanel::OnOpenWinClick)
          .Event("OnDeleteClick", &TSelectPanel::OnDeleteClick)
          .Event("OnClearClick", &TSelectPanel::OnClearClick)
          .Event("OnItemSelect", &TSelectPanel::OnItemSelect)
          .Event("OnItemChange", &TSelectPanel::OnItemChange)
          .Event("OnItemChanging", &TSelectPanel::OnItemChanging);
  return cls;
}

TSelectPanel::TSelectPanel(TComponent* owner)
    : TGroupBox(owner),
      beginWords_(std::make_unique<TStringList>(std::initializer_list<std::string>{"起", "起"})),
      finalWords_(std::make_unique<TStringList>(std::initializer_list<std::string>{"止", "止"})),
      childHints_(std::make_unique<TStringList>(std::initializer_list<std::string>{
          "用户自定输入方式", "区间选择-起始信息", "区间选择-起始信息开窗", "区间选择-截止信息",
          "区间选择-截止信息开窗", "多选-己选择的信息", "多选-信息开窗", "多选-删除一笔信息",
          "多选-删除己选信息"})) {
  CreateControls();
  InstallHandlers();
  SetCaption("");
  SetBounds(Left(), Top(), 353, 45);
  if (!Designing()) ApplyVisibility(style_);
  ArrangeControls();
}

TSelectPanel::~TSelectPanel() { DestroyComponents(); }

void TSelectPanel::CreateControls() {
  chkUserChoice = new TVellCheckBox(this);
  chkUserChoice->SetParent(this);
  chkUserChoice->SetCaption(hintWord_);
  chkUserChoice->SetBounds(16, 17, chkUserChoice->Width(), chkUserChoice->Height());
  chkUserChoice->SetChecked(Designing());

  auto plainPanel = [this](TWinControl* parent) {
    auto* panel = new TPanel(this);
    panel->SetParent(parent);
    panel->SetBevelInner(bvNone);
    panel->SetBevelOuter(bvNone);
    panel->SetCaption(" ");
    return panel;
  };
  pnlRange = plainPanel(this);
  lblBegin = new TLabel(this);
  lblBegin->SetParent(pnlRange);
  edBegin = new TVellMaskEdit(this);
  edBegin->SetParent(pnlRange);
  edBegin->SetHeight(24);
  btnBegin = new TF2Button(this);
  btnBegin->SetParent(pnlRange);
  lblFinal = new TLabel(this);
  lblFinal->SetParent(pnlRange);
  edFinal = new TVellMaskEdit(this);
  edFinal->SetParent(pnlRange);
  edFinal->SetHeight(24);
  btnFinal = new TF2Button(this);
  btnFinal->SetParent(pnlRange);

  pnlDiscrete = plainPanel(this);
  ListBox = new TVellListView(this);
  ListBox->SetParent(pnlDiscrete);
  ListBox->SetViewStyle(vsReport);
  ListBox->SetMultiSelect(true);
  ListBox->SetRowSelect(true);
  ListBox->SetReadOnly(true);
  ListBox->SetShowColumnHeaders(false);
  ListBox->SetSortType(stNone);
  ListBox->SetHideSelection(false);
  ListBox->SetCursor(crHandPoint);
  btnList = new TF2Button(this);
  btnList->SetParent(pnlDiscrete);
  btnDelete = new TGSpeedButton(this);
  btnDelete->SetParent(pnlDiscrete);
  btnDelete->SetFlat(true);
  btnDelete->SetGlyphIndex(47);
  btnDelete->SetNumGlyphs(1);
  btnClear = new TGSpeedButton(this);
  btnClear->SetParent(pnlDiscrete);
  btnClear->SetFlat(true);
  btnClear->SetGlyphIndex(4);
  btnClear->SetNumGlyphs(2);
  for (TControl* button : std::initializer_list<TControl*>{btnBegin, btnFinal, btnList, btnDelete, btnClear})
    button->SetBounds(button->Left(), button->Top(), 23, 23);
  SizeCheckBox();
}

void TSelectPanel::InstallHandlers() {
  beginWords_->OnChange = MethodOf<&TSelectPanel::WordsChanged>(this);
  finalWords_->OnChange = MethodOf<&TSelectPanel::WordsChanged>(this);
  childHints_->OnChange = MethodOf<&TSelectPanel::ChildHintsChanged>(this);

  chkUserChoice->OnClick = MethodOf<&TSelectPanel::SwitchClick>(this);
  for (TGSpeedButton* button : {static_cast<TGSpeedButton*>(btnBegin), static_cast<TGSpeedButton*>(btnFinal),
                                static_cast<TGSpeedButton*>(btnList)})
    button->OnClick = MethodOf<&TSelectPanel::LookupClick>(this);
  btnDelete->OnClick = MethodOf<&TSelectPanel::DeleteClick>(this);
  btnClear->OnClick = MethodOf<&TSelectPanel::ClearClick>(this);

  const std::initializer_list<TControl*> clickable{chkUserChoice, pnlRange, pnlDiscrete, lblBegin,
                                                   lblFinal,      edBegin,  edFinal,     ListBox};
  for (TControl* c : clickable) {
    if (c != chkUserChoice) c->OnClick = MethodOf<&TSelectPanel::ForwardClick>(this);
    c->OnDblClick = MethodOf<&TSelectPanel::ForwardDblClick>(this);
  }
  const std::initializer_list<TControl*> mouseSources{chkUserChoice, pnlRange, pnlDiscrete, lblBegin, lblFinal,
                                                      edBegin,       edFinal,  ListBox,     btnBegin, btnFinal,
                                                      btnList,       btnDelete, btnClear};
  for (TControl* c : mouseSources) {
    c->OnMouseDown = MethodOf<&TSelectPanel::ForwardMouseDown>(this);
    c->OnMouseMove = MethodOf<&TSelectPanel::ForwardMouseMove>(this);
    c->OnMouseUp = MethodOf<&TSelectPanel::ForwardMouseUp>(this);
  }
  for (TControl* c : clickable) {
    c->OnDragDrop = MethodOf<&TSelectPanel::ForwardDragDrop>(this);
    c->OnDragOver = MethodOf<&TSelectPanel::ForwardDragOver>(this);
    c->OnStartDrag = MethodOf<&TSelectPanel::ForwardStartDrag>(this);
    c->OnEndDrag = MethodOf<&TSelectPanel::ForwardEndDrag>(this);
    c->OnStartDock = MethodOf<&TSelectPanel::ForwardStartDock>(this);
    c->OnEndDock = MethodOf<&TSelectPanel::ForwardEndDock>(this);
  }
  for (TWinControl* c : std::initializer_list<TWinControl*>{chkUserChoice, edBegin, edFinal, ListBox}) {
    c->OnKeyDown = MethodOf<&TSelectPanel::ForwardKeyDown>(this);
    c->OnKeyUp = MethodOf<&TSelectPanel::ForwardKeyUp>(this);
    c->OnKeyPress = MethodOf<&TSelectPanel::ForwardKeyPress>(this);
  }
  ListBox->OnSelectItem = MethodOf<&TSelectPanel::ListSelectItem>(this);
  ListBox->OnChange = MethodOf<&TSelectPanel::ListChange>(this);
  ListBox->OnChanging = MethodOf<&TSelectPanel::ListChanging>(this);
  ListBox->OnColumnClick = MethodOf<&TSelectPanel::ListColumnClick>(this);
  ListBox->OnCompare = MethodOf<&TSelectPanel::ListCompare>(this);
}

// ===========================================================================
// Layout
// ===========================================================================

void TSelectPanel::SizeCheckBox() {
  const TFont& font = chkUserChoice->Font();
  chkUserChoice->SetBounds(chkUserChoice->Left(), chkUserChoice->Top(),
                           TextWidthOf(font, chkUserChoice->Caption()) + 24, TextHeightOf(font) + 2);
}

std::string TSelectPanel::WordAt(const TStrings& words, int index) {
  // A list shorter than the layout reads shows its last entry, or nothing.
  if (words.Count() == 0) return "";
  return words[std::min(index, words.Count() - 1)];
}

void TSelectPanel::ArrangeControls() {
  if (arranging_) return;
  const ScopedValue arranging(arranging_, true);
  SizeCheckBox();
  Layout(style_);
}

void TSelectPanel::Layout(TSelectStyle style) {
  switch (style) {
    case sp_Range:
      chkUserChoice->Hide();
      RangeFrame();
      useVertical_ ? TwoRowRange() : OneRowRange();
      break;
    case sp_Discrete:
      chkUserChoice->Hide();
      ListFrame();
      ListLayout();
      break;
    case sp_UserChoice:
      chkUserChoice->Show();
      UserChoiceFrame();
      TwoRowRange();
      ListLayout();
      break;
  }
}

void TSelectPanel::RangeFrame() {
  pnlRange->BringToFront();
  pnlDiscrete->SendToBack();
  chkUserChoice->SendToBack();
  const int top = TextHeightOf(Font()) + 3;
  const int bevel = pnlRange->BevelWidth();
  pnlRange->SetBounds(2, top, Width() - 2 - bevel - 2, Height() - top - bevel - 2);
  pnlDiscrete->SetBounds(pnlRange->Left(), pnlRange->Top(), pnlRange->Width(), pnlRange->Height());
}

void TSelectPanel::ListFrame() {
  pnlDiscrete->BringToFront();
  pnlRange->SendToBack();
  chkUserChoice->SendToBack();
  const int top = TextHeightOf(Font()) + 3;
  const int bevel = pnlDiscrete->BevelWidth();
  pnlDiscrete->SetBounds(2, top, Width() - 2 - bevel - 2, Height() - top - bevel - 2);
  pnlRange->SetBounds(pnlDiscrete->Left(), pnlDiscrete->Top(), pnlDiscrete->Width(), pnlDiscrete->Height());
}

void TSelectPanel::UserChoiceFrame() {
  chkUserChoice->BringToFront();
  chkUserChoice->SetBounds(16, TextHeightOf(Font()) + 1, chkUserChoice->Width(), chkUserChoice->Height());
  TPanel* front = userChoice_ ? pnlRange : pnlDiscrete;
  TPanel* back = userChoice_ ? pnlDiscrete : pnlRange;
  front->BringToFront();
  back->SendToBack();
  const int top = TextHeightOf(chkUserChoice->Font()) + chkUserChoice->Top() + 2;
  front->SetBounds(2, top, Width() - 2 - 2, Height() - top - 2);
  back->SetBounds(front->Left(), front->Top(), front->Width(), front->Height());
}

void TSelectPanel::OneRowRange() {
  const int h = pnlRange->Height(), w = pnlRange->Width();
  lblBegin->SetCaption(WordAt(*beginWords_, 0));
  lblBegin->SetBounds(2, (h - edBegin->Height()) / 2, lblBegin->Width(), lblBegin->Height());
  const int top = lblBegin->Top();
  const int beginRight = lblBegin->Left() + lblBegin->Width();
  int width;
  if (canOpenWin_)
    width = (w - lblBegin->Left() - lblBegin->Width() - 2 - btnBegin->Width() - 2 - lblFinal->Width() - 2 -
             btnFinal->Width() - 2) / 2 - 1;
  else
    width = (w - lblBegin->Left() - lblBegin->Width() - 2 - lblFinal->Width() - 2) / 2 - 1;
  edBegin->SetBounds(beginRight + 1, top, width, edBegin->Height());
  if (canOpenWin_) btnBegin->SetBounds(edBegin->Left() + edBegin->Width() + 2, top, btnBegin->Width(), btnBegin->Height());
  lblFinal->SetCaption(WordAt(*finalWords_, 0));
  const int finalLeft = canOpenWin_ ? btnBegin->Left() + btnBegin->Width() + 2 : edBegin->Left() + edBegin->Width() + 4;
  lblFinal->SetBounds(finalLeft, top, lblFinal->Width(), lblFinal->Height());
  edFinal->SetBounds(lblFinal->Left() + lblFinal->Width() + 2, top, edBegin->Width(), edFinal->Height());
  if (canOpenWin_) btnFinal->SetBounds(edFinal->Left() + edFinal->Width() + 2, top, btnFinal->Width(), btnFinal->Height());
}

void TSelectPanel::TwoRowRange() {
  const int h = pnlRange->Height(), w = pnlRange->Width();
  lblBegin->SetCaption(WordAt(*beginWords_, 1));
  const int gap = (h - edBegin->Height() - edFinal->Height()) / 3;
  lblBegin->SetBounds(2, gap, lblBegin->Width(), lblBegin->Height());
  const int width = canOpenWin_ ? w - lblBegin->Left() - lblBegin->Width() - 2 - btnBegin->Width() - 2
                                : w - lblBegin->Left() - lblBegin->Width() - 2;
  edBegin->SetBounds(lblBegin->Left() + lblBegin->Width() + 2, lblBegin->Top(), width, edBegin->Height());
  if (canOpenWin_)
    btnBegin->SetBounds(edBegin->Left() + edBegin->Width() + 1, lblBegin->Top(), btnBegin->Width(), btnBegin->Height());
  lblFinal->SetCaption(WordAt(*finalWords_, 1));
  lblFinal->SetBounds(lblBegin->Left(), lblBegin->Top() + gap + edBegin->Height(), lblFinal->Width(), lblFinal->Height());
  edFinal->SetBounds(edBegin->Left(), lblFinal->Top(), edBegin->Width(), edFinal->Height());
  if (canOpenWin_) btnFinal->SetBounds(btnBegin->Left(), lblFinal->Top(), btnFinal->Width(), btnFinal->Height());
}

void TSelectPanel::ListLayout() {
  ListBox->SetBounds(ListBox->Left(), 0, pnlDiscrete->Width() - ListBox->Left() - 2 - btnList->Width() - 1,
                     pnlDiscrete->Height());
  btnList->SetBounds(ListBox->Width() + 2, ListBox->Top(), btnList->Width(), btnList->Height());
  btnDelete->SetBounds(btnList->Left(), btnList->Top() + btnList->Height(), btnDelete->Width(), btnDelete->Height());
  btnClear->SetBounds(btnDelete->Left(), btnDelete->Top() + btnDelete->Height(), btnClear->Width(), btnClear->Height());
}

void TSelectPanel::Resize() {
  TGroupBox::Resize();
  ArrangeControls();
}

void TSelectPanel::FontChanged() {
  TGroupBox::FontChanged();
  ArrangeControls();
}

void TSelectPanel::Loaded() {
  TGroupBox::Loaded();
  ArrangeControls();
}

// ===========================================================================
// Styles and modes
// ===========================================================================

bool TSelectPanel::IsRangeShown() const {
  return style_ == sp_Range || (style_ == sp_UserChoice && chkUserChoice->Checked());
}

void TSelectPanel::ApplyVisibility(TSelectStyle style) {
  if (Designing()) return;
  chkUserChoice->SetVisible(style == sp_UserChoice);
  const bool range = style == sp_Range || (chkUserChoice->Visible() && chkUserChoice->Checked());
  pnlRange->SetVisible(range);
  pnlDiscrete->SetVisible(!range);
}

bool TSelectPanel::LoadingFromForm() const {
  if (HasState(ComponentStateFlag::Loading)) return true;
  const TComponent* parent = Parent();
  if (!parent) return false;
  const bool loading = parent->HasState(ComponentStateFlag::Loading);
  const bool reading = parent->HasState(ComponentStateFlag::Reading);
  const bool designing = parent->HasState(ComponentStateFlag::Designing);
  const bool ancestor = parent->HasState(ComponentStateFlag::Ancestor);
  const bool writing = parent->HasState(ComponentStateFlag::Writing);
  const bool destroying = parent->HasState(ComponentStateFlag::Destroying);
  if (!loading || !reading || writing || destroying) return false;
  return designing == ancestor;  // exactly loading+reading, or with designing and ancestor too
}

void TSelectPanel::SwapOtherSize() {
  const int width = Width(), height = Height();
  SetBounds(Left(), Top(), otherWidth_, otherHeight_);
  otherWidth_ = width;
  otherHeight_ = height;
}

void TSelectPanel::SetStyle(TSelectStyle style) {
  TSelectStyle newStyle = style;
  bool accept = true;
  if (!Designing()) OnStyleChanging(this, style_, newStyle, accept);
  if (!accept) return;
  ApplyVisibility(newStyle);
  if (newStyle != style_ && (newStyle == sp_Range || style_ == sp_Range) && !useVertical_ && !LoadingFromForm()) {
    const ScopedValue resizingStyle(style_, newStyle);  // the resize sees the style it is made for
    const ScopedValue arranging(arranging_, true);
    SwapOtherSize();
  }
  {
    const ScopedValue arranging(arranging_, true);
    SizeCheckBox();
    Layout(newStyle);
  }
  if (!Designing()) OnStyleChange(this, style_, newStyle);
  style_ = newStyle;
}

void TSelectPanel::SetUseVertical(bool useVertical) {
  if (style_ != sp_Range || useVertical == useVertical_) return;
  useVertical_ = useVertical;
  if (!HasState(ComponentStateFlag::Loading)) {
    const ScopedValue arranging(arranging_, true);
    SwapOtherSize();
  }
  ArrangeControls();
}

void TSelectPanel::SetUserChoice(bool userChoice) {
  if (style_ != sp_UserChoice) return;
  chkUserChoice->SetChecked(userChoice);
  SwitchClick(chkUserChoice);
}

void TSelectPanel::SwitchClick(TObject*) {
  if (style_ != sp_UserChoice) return;
  userChoice_ = chkUserChoice->Checked();
  {
    const ScopedValue arranging(arranging_, true);
    UserChoiceFrame();
  }
  ApplyVisibility(style_);
  if (!Designing()) OnTypeClick(this);
}

void TSelectPanel::SetHintWord(const std::string& word) {
  chkUserChoice->SetCaption(word);
  SizeCheckBox();
  hintWord_ = word;
}

void TSelectPanel::SetWords(TStrings& stored, TStrings* words, TLabel* label) {
  stored.BeginUpdate();
  stored.Clear();
  if (words && words->Count() > 0) {
    stored.Add((*words)[0]);
    if (words->Count() >= 2) stored.Add((*words)[1]);
  }
  stored.EndUpdate();
  if (stored.Count() == 1) label->SetCaption(stored[0]);
  if (stored.Count() >= 2) label->SetCaption(style_ == sp_UserChoice ? stored[1] : stored[0]);
  if (stored.Count() > 0) ArrangeControls();
}

void TSelectPanel::WordsChanged(TObject* sender) {
  if (static_cast<TStrings*>(sender)->Count() >= 2) ArrangeControls();
}

void TSelectPanel::SetChildHints(TStrings* hints) {
  if (hints) childHints_->Assign(*hints);
}

void TSelectPanel::ChildHintsChanged(TObject*) { ApplyChildHints(); }

void TSelectPanel::ApplyChildHints() {
  const std::array<TControl*, 9> targets{chkUserChoice, edBegin, btnBegin, edFinal, btnFinal,
                                         ListBox,       btnList, btnDelete, btnClear};
  for (int i = 0; i < childHints_->Count() && i < static_cast<int>(targets.size()); ++i)
    targets[static_cast<std::size_t>(i)]->SetHint((*childHints_)[i]);
}

void TSelectPanel::SetCanOpenWin(bool canOpenWin) {
  if (canOpenWin == canOpenWin_) return;
  canOpenWin_ = canOpenWin;
  for (TControl* button : std::initializer_list<TControl*>{btnList, btnBegin, btnFinal}) button->SetVisible(canOpenWin);
  ArrangeControls();
}

void TSelectPanel::SetGlyphIndex(int index) {
  if (index == glyphIndex_) return;
  try {
    btnBegin->SetGlyphIndex(index);
    btnFinal->SetGlyphIndex(btnBegin->GlyphIndex());
    btnList->SetGlyphIndex(btnBegin->GlyphIndex());
    glyphIndex_ = index;
  } catch (...) {
    for (TGSpeedButton* button : {static_cast<TGSpeedButton*>(btnBegin), static_cast<TGSpeedButton*>(btnFinal),
                                  static_cast<TGSpeedButton*>(btnList)})
      button->SetGlyphIndex(0);
  }
}

void TSelectPanel::SetEditMask(const std::string& mask) {
  editMask_ = mask;
  const std::string kept = edBegin->Text();
  edBegin->SetSuppressChange(true);
  edBegin->SetText("");
  edBegin->SetEditMask(mask);
  edFinal->SetEditMask(mask);
  blankText_ = edBegin->Text();
  edBegin->SetText(kept);
  edBegin->SetSuppressChange(false);
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate check) {
  if (check != cd_None) SetSortListBox(true);
  if (check != checkDuplicate_) ListBox->RecheckDuplicates();
  checkDuplicate_ = check;
  if (!IsRangeShown()) RemoveDuplicates();
}

void TSelectPanel::SetSortListBox(bool sort) {
  if (sort != sortListBox_) ListBox->RecheckDuplicates();
  sortListBox_ = sort;
  ListBox->SetSortType(sort ? stBoth : stNone);
}

void TSelectPanel::SetItems(TListItems* items) {
  if (!items) throw EConvertError("Cannot assign a nil to a " + Items().ClassName());
  Items().Assign(*items);
}

std::unique_ptr<TStringList> TSelectPanel::ColumnCaptions() const {
  auto captions = std::make_unique<TStringList>();
  for (int i = 0; i < ListBox->Columns().Count(); ++i) captions->Add(ListBox->Columns()[i]->Caption());
  return captions;
}

void TSelectPanel::SetColumnCaptions(const TStrings* captions) {
  ListBox->Columns().Clear();
  if (!captions) return;
  for (int i = 0; i < captions->Count(); ++i) {
    TListColumn* column = ListBox->Columns().Add();
    column->SetCaption((*captions)[i]);
    column->SetWidth(ColumnTextWidth);
  }
}

// ===========================================================================
// Focus, enabled state, exit
// ===========================================================================

void TSelectPanel::SetFocus() {
  TGroupBox::SetFocus();
  if (!IsRangeShown() && ListBox->CanFocus()) ListBox->SetFocus();
}

void TSelectPanel::SetEnabledDeep(TWinControl* container, bool enabled) {
  for (TControl* child : container->ControlList()) {
    child->SetEnabled(enabled);
    if (auto* inner = ObjectAs<TWinControl>(child)) SetEnabledDeep(inner, enabled);
  }
}

void TSelectPanel::SetEnabled(bool enabled) {
  TGroupBox::SetEnabled(enabled);
  enabledValue_ = enabled;
  SetEnabledDeep(this, enabled);
}

bool TSelectPanel::Discarded(const std::string& begin, const std::string& final) const {
  return useDiscard_ && (std::string(Trim(begin)) == discard_ || std::string(Trim(final)) == discard_);
}

void TSelectPanel::OrderRange() {
  if (edBegin->EditMask().rfind('!', 0) != 0) {
    edBegin->SetText(std::string(Trim(edBegin->Text())));
    edFinal->SetText(std::string(Trim(edFinal->Text())));
  }
  std::string b = edBegin->Text(), f = edFinal->Text();
  if (b.empty() || f.empty()) return;
  const bool neitherBlank = b != blankText_ && f != blankText_;
  bool exchange = false;
  switch (valueType_) {
    case vt_String:
    case vt_Time: exchange = neitherBlank && !Discarded(b, f) && b > f; break;
    case vt_Number: exchange = IntegerOrZero(b) > IntegerOrZero(f); break;
    case vt_Date:
      if (!autoChangeDateSite_ || !neitherBlank || Discarded(b, f)) break;
      exchange = dateType_ == dt_NoneCare ? b > f : ParseDateText(b) > ParseDateText(f);
      break;
    case vt_Float:
      b = NormalFloatText(b);
      f = NormalFloatText(f);
      edBegin->SetText(b);
      edFinal->SetText(f);
      exchange = FloatOrZero(b) > FloatOrZero(f);
      break;
    case vt_OtherMask: break;
  }
  if (!exchange) return;
  edBegin->SetText(f);
  edFinal->SetText(b);
}

void TSelectPanel::DoExit() {
  OrderRange();
  TGroupBox::DoExit();
}

TDateTime TSelectPanel::ParseDateText(const std::string& text) const {
  std::string t(Trim(text));
  if (t.empty() || t == std::string(Trim(blankText_))) return 0;
  const std::string& sign = dateSign_;
  switch (Occurrences(t, sign)) {
    case 1:
      if (dateType_ == dt_MMDDYYYY)
        t = t.substr(0, 2) + sign + "01" + t.substr(std::min<std::size_t>(2, t.size()), 5);
      else if (dateType_ == dt_DDMMYYYY)
        t = "01" + sign + t;
      else
        t += sign + "01";
      break;
    case 2: break;
    default: return 0;
  }
  std::int64_t fields[3];
  std::string rest = t;
  for (std::int64_t& field : fields) {
    const std::size_t at = rest.find(sign);
    if (!TryStrToInt64(Trim(rest.substr(0, at)), field)) return 0;
    rest = at == std::string::npos ? "" : rest.substr(at + sign.size());
  }
  std::int64_t year, month, day;
  switch (dateType_) {
    case dt_YYYYMMDD: year = fields[0], month = fields[1], day = fields[2]; break;
    case dt_MMDDYYYY: year = fields[2], month = fields[0], day = fields[1]; break;
    case dt_DDMMYYYY: year = fields[2], month = fields[1], day = fields[0]; break;
    case dt_YYMMDD:
    case dt_YYYMMDD: year = fields[0] + 1911, month = fields[1], day = fields[2]; break;
    default: return 0;
  }
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
  TDateTime date;
  return TryEncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), date) ? date : 0;
}

// ===========================================================================
// Rows
// ===========================================================================

int TSelectPanel::CompareRows(TListItem* a, TListItem* b) const {
  auto key = [](TListItem* item, int k) -> const std::string& {
    static const std::string empty;
    if (k == 0) return item->Caption();
    return k - 1 < item->SubItems().Count() ? item->SubItems()[k - 1] : empty;
  };
  int keys[3] = {sortColumn_, 0, 1};
  int result = 0;
  bool used[2] = {false, false};  // caption, column 1
  for (int k : keys) {
    if ((k == 0 && used[0]) || (k == 1 && used[1])) continue;
    if (k <= 1) used[k] = true;
    result = LocaleCompareText(key(a, k), key(b, k));
    if (result != 0) break;
  }
  return sortAscending_ ? result : -result;
}

void TSelectPanel::ListCompare(TObject*, TListItem* a, TListItem* b, std::intptr_t, int& compare) {
  compare = CompareRows(a, b);
}

void TSelectPanel::ListColumnClick(TObject*, TListColumn* column) {
  const int index = column ? column->Index() : 0;
  if (index == sortColumn_)
    sortAscending_ = !sortAscending_;
  else {
    sortColumn_ = index;
    sortAscending_ = true;
  }
  ListBox->AlphaSort();
  ListBox->RecheckDuplicates();
}

// ===========================================================================
// Handlers of the contained controls
// ===========================================================================

void TSelectPanel::LookupClick(TObject* sender) {
  if (Designing()) return;
  TWinControl* target = sender == btnBegin ? static_cast<TWinControl*>(edBegin)
                        : sender == btnFinal ? static_cast<TWinControl*>(edFinal)
                                             : static_cast<TWinControl*>(ListBox);
  if (target->CanFocus()) target->SetFocus();
  if (auto* form = ObjectAs<TWinControl>(Owner()))
    form->Perform(WM_LOOKUPREQUEST, 0, reinterpret_cast<LPARAM>(target));
  OnOpenWinClick(this, target);
}

void TSelectPanel::DeleteClick(TObject*) {
  bool accept = true;
  if (!Designing()) OnDeleteClick(btnDelete, accept);
  if (!accept) return;
  TListItems& items = ListBox->Items();
  for (int i = items.Count() - 1; i >= 0; --i)
    if (items[i]->Selected()) items.Delete(i);
}

void TSelectPanel::ClearClick(TObject*) {
  ListBox->ClearRows();
  if (ListBox->CanFocus()) ListBox->SetFocus();
  if (!Designing()) OnClearClick(btnClear);
}

TObject* TSelectPanel::MouseSender(TObject* sender, int& x, int& y) {
  if (sender == edBegin || sender == edFinal || sender == ListBox) return sender;
  if (auto* control = ObjectAs<TControl>(sender)) {
    const TPoint point = ScreenToClient(control->ClientToScreen({x, y}));
    x = point.X;
    y = point.Y;
  }
  return this;
}

void TSelectPanel::ForwardClick(TObject* sender) {
  int x = 0, y = 0;
  OnClick(MouseSender(sender, x, y));
}

void TSelectPanel::ForwardDblClick(TObject* sender) {
  int x = 0, y = 0;
  OnDblClick(MouseSender(sender, x, y));
}

void TSelectPanel::ForwardMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
  TObject* from = MouseSender(sender, x, y);
  OnMouseDown(from, button, shift, x, y);
}

void TSelectPanel::ForwardMouseMove(TObject* sender, TShiftState shift, int x, int y) {
  TObject* from = MouseSender(sender, x, y);
  OnMouseMove(from, shift, x, y);
}

void TSelectPanel::ForwardMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
  TObject* from = MouseSender(sender, x, y);
  OnMouseUp(from, button, shift, x, y);
}

namespace {

// Coordinates of a control's client area in those of another control.
void ConvertPoint(TObject* from, const TControl& to, int& x, int& y) {
  if (auto* control = ObjectAs<TControl>(from)) {
    const TPoint point = to.ScreenToClient(control->ClientToScreen({x, y}));
    x = point.X;
    y = point.Y;
  }
}

}  // namespace

void TSelectPanel::ForwardDragDrop(TObject* sender, TObject* source, int x, int y) {
  ConvertPoint(sender, *this, x, y);
  OnDragDrop(this, source, x, y);
}

void TSelectPanel::ForwardDragOver(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept) {
  ConvertPoint(sender, *this, x, y);
  OnDragOver(this, source, x, y, state, accept);
}

void TSelectPanel::ForwardStartDrag(TObject*, TObject*& dragObject) { OnStartDrag(this, dragObject); }

void TSelectPanel::ForwardEndDrag(TObject* sender, TObject* target, int x, int y) {
  ConvertPoint(sender, *this, x, y);
  OnEndDrag(this, target, x, y);
}

void TSelectPanel::ForwardStartDock(TObject*, TObject*& dragObject) { OnStartDock(this, dragObject); }

void TSelectPanel::ForwardEndDock(TObject* sender, TObject* target, int x, int y) {
  ConvertPoint(sender, *this, x, y);
  OnEndDock(this, target, x, y);
}

void TSelectPanel::ForwardKeyDown(TObject* sender, Word& key, TShiftState shift) { OnKeyDown(sender, key, shift); }
void TSelectPanel::ForwardKeyUp(TObject* sender, Word& key, TShiftState shift) { OnKeyUp(sender, key, shift); }
void TSelectPanel::ForwardKeyPress(TObject* sender, std::string& key) { OnKeyPress(sender, key); }

void TSelectPanel::ListSelectItem(TObject* sender, TListItem* item, bool selected) {
  OnItemSelect(sender, item, item ? item->Index() : -1, selected);
}

void TSelectPanel::ListChange(TObject* sender, TListItem* item, TItemChange change) {
  OnItemChange(sender, item, change);
}

void TSelectPanel::ListChanging(TObject* sender, TListItem* item, TItemChange change, bool& allow) {
  OnItemChanging(sender, item, change, allow);
}

}  // namespace qv
