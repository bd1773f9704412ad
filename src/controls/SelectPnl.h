#pragma once
// The selection panel: one report condition given as a range (a begin and a
// final value) or as a list of single values, or the user's choice of the
// two. On leaving the panel the range is put in ascending order for its
// value type.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "platform/core/Strings.h"
#include "platform/ui/controls/GroupBox.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/controls/ListView.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Panel.h"
#include "services/LibStrs.h"

namespace qv {

class TF2Button;
class TGSpeedButton;

enum TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
enum TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };
const TEnumType& SelectStyleType();
const TEnumType& ValueTypeType();
const TEnumType& DateTypeType();
const TEnumType& CheckDuplicateType();

// The platform masked edit with a switch that holds back its change events.
class TVellMaskEdit : public TMaskEdit {
  QV_OBJECT(TVellMaskEdit, TMaskEdit)
  using TMaskEdit::TMaskEdit;

  bool SuppressChange() const { return suppressChange_; }
  void SetSuppressChange(bool suppress) { suppressChange_ = suppress; }

 protected:
  void Change() override;

 private:
  bool suppressChange_ = false;
};

// The platform check box drawn by the program, as the panel's switch.
class TVellCheckBox : public TBitCheckBox {
  QV_OBJECT(TVellCheckBox, TBitCheckBox)
  using TBitCheckBox::TBitCheckBox;
};

class TSelectPanel;

// The list of chosen values: one row per value, the first value as the
// caption and the others as sub-items.
class TVellListView : public TListView {
  QV_OBJECT(TVellListView, TListView)
  explicit TVellListView(TComponent* owner);

  bool ColumnsAutoSize() const { return columnsAutoSize_; }
  void SetColumnsAutoSize(bool autoSize) { columnsAutoSize_ = autoSize; }

  // Appends a row (columns "Data1", "Data2", … are added as needed), pads
  // every row to the same number of sub-items, removes duplicates by the
  // owning panel's check and fits the columns. False for no values or a
  // failure.
  bool AddRow(const std::vector<std::string>& values);
  void ClearRows();
  // Deletes the later of two neighbouring rows whose captions are equal under
  // the check (cd_None deletes nothing). After `added` took its place only the
  // pairs it forms are compared, unless the rows changed since the last pass.
  void RemoveDuplicates(TCheckDuplicate check, TListItem* added = nullptr);
  // The rows were put in another order, or captions are to be compared by
  // another rule: the next pass compares every pair of neighbours.
  void RecheckDuplicates() { mayHaveDuplicates_ = true; }

  // Takes the focus on a left press and handles the press only with it.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void Delete(TListItem* item) override;
  void TextsChanged() override;

 private:
  // Lengths in characters of each column's texts, so the widest stays known
  // while rows come and go.
  class LengthTally {
   public:
    void Add(int length);
    void Remove(int length);
    int Longest() const { return longest_; }
    void Clear();

   private:
    std::vector<int> counts_;
    int longest_ = 0;
  };

  void TallyRow(TListItem* item, bool add);
  void Recount();
  void PadRows();
  void FitColumns();
  TSelectPanel* Panel() const;

  bool columnsAutoSize_ = true;
  bool ownChange_ = false;  // a change of the list's own: it tallies by hand and makes no duplicates
  bool tallyValid_ = true;
  bool mayHaveDuplicates_ = false;  // rows changed without a duplicate pass since the last one
  int subItemCount_ = 0;  // every row has this many sub-items while tallyValid_
  std::vector<LengthTally> tallies_;
};

using TStyleChangingEvent = Event<void(TObject* Sender, TSelectStyle NowStyle, TSelectStyle& NewStyle, bool& Accept)>;
using TStyleChangeEvent = Event<void(TObject* Sender, TSelectStyle OldStyle, TSelectStyle NewStyle)>;
using TOpenWinClickEvent = Event<void(TObject* SenderParent, TObject* Sender)>;
using TDeleteClickEvent = Event<void(TObject* Sender, bool& Accept)>;
using TListViewSelectItemEvent = Event<void(TObject* Sender, TListItem* xItem, int xIndex, bool xIsSelect)>;

class TSelectPanel : public TGroupBox {
  QV_OBJECT(TSelectPanel, TGroupBox)

  explicit TSelectPanel(TComponent* owner);
  ~TSelectPanel() override;

  // ---- the contained controls ----
  TVellCheckBox* chkUserChoice;
  TPanel* pnlRange;
  TLabel* lblBegin;
  TVellMaskEdit* edBegin;
  TF2Button* btnBegin;
  TLabel* lblFinal;
  TVellMaskEdit* edFinal;
  TF2Button* btnFinal;
  TPanel* pnlDiscrete;
  TVellListView* ListBox;
  TF2Button* btnList;
  TGSpeedButton* btnDelete;
  TGSpeedButton* btnClear;

  // ---- published properties ----
  TSelectStyle Style() const { return style_; }
  void SetStyle(TSelectStyle style);
  bool UserChoice() const { return userChoice_; }
  void SetUserChoice(bool userChoice);
  bool UseVertical() const { return useVertical_; }
  void SetUseVertical(bool useVertical);
  const std::string& HintWord() const { return hintWord_; }
  void SetHintWord(const std::string& word);
  TStrings* BeginWords() const { return beginWords_.get(); }
  void SetBeginWords(TStrings* words) { SetWords(*beginWords_, words, lblBegin); }
  TStrings* FinalWords() const { return finalWords_.get(); }
  void SetFinalWords(TStrings* words) { SetWords(*finalWords_, words, lblFinal); }
  TStrings* ChildHints() const { return childHints_.get(); }
  void SetChildHints(TStrings* hints);
  bool CanOpenWin() const { return canOpenWin_; }
  void SetCanOpenWin(bool canOpenWin);
  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int index);
  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& mask);
  TValueType ValueType() const { return valueType_; }
  void SetValueType(TValueType type) { valueType_ = type; }
  TDateType DateType() const { return dateType_; }
  void SetDateType(TDateType type) { dateType_ = type; }
  const std::string& DateSign() const { return dateSign_; }
  void SetDateSign(const std::string& sign) { dateSign_ = sign; }
  bool AutoChangeDateSite() const { return autoChangeDateSite_; }
  void SetAutoChangeDateSite(bool on) { autoChangeDateSite_ = on; }
  bool UseDiscard() const { return useDiscard_; }
  void SetUseDiscard(bool on) { useDiscard_ = on; }
  const std::string& Discard() const { return discard_; }
  void SetDiscard(const std::string& discard) { discard_ = discard; }
  int OtherWidth() const { return otherWidth_; }
  void SetOtherWidth(int width) { otherWidth_ = width; }
  int OtherHeight() const { return otherHeight_; }
  void SetOtherHeight(int height) { otherHeight_ = height; }
  TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
  void SetCheckDuplicate(TCheckDuplicate check);
  bool SortListBox() const { return sortListBox_; }
  void SetSortListBox(bool sort);
  TListColumns& Columns() const { return ListBox->Columns(); }
  // A fresh copy of the column captions; setting them rebuilds the columns.
  std::unique_ptr<TStringList> ColumnCaptions() const;
  void SetColumnCaptions(const TStrings* captions);
  bool ColumnsAutoSize() const { return ListBox->ColumnsAutoSize(); }
  void SetColumnsAutoSize(bool autoSize) { ListBox->SetColumnsAutoSize(autoSize); }
  bool ShowColumnHeader() const { return ListBox->ShowColumnHeaders(); }
  void SetShowColumnHeader(bool show) { ListBox->SetShowColumnHeaders(show); }
  bool HideSelection() const { return ListBox->HideSelection(); }
  void SetHideSelection(bool hide) { ListBox->SetHideSelection(hide); }
  TListItems& Items() const { return ListBox->Items(); }
  // The list takes copies of the rows; raises EConvertError for no list.
  void SetItems(TListItems* items);

  // ---- state ----
  const std::string& BlankText() const { return blankText_; }
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }
  // The range part is the one shown.
  bool IsRangeShown() const;

  // ---- operations ----
  // Focuses the panel, and the list when the list part is the one shown.
  void SetFocus() override;
  // Also gives every contained control, at every depth, the same state.
  void SetEnabled(bool enabled) override;
  // The date in a text typed in the panel's date type; 0 when unreadable.
  TDateTime ParseDateText(const std::string& text) const;
  // The order of two rows: negative when a sorts before b.
  int CompareRows(TListItem* a, TListItem* b) const;
  // Deletes the later of two neighbouring rows with equal captions.
  void RemoveDuplicates() { ListBox->RemoveDuplicates(checkDuplicate_); }
  void ArrangeControls();

  // ---- events ----
  TStyleChangingEvent OnStyleChanging;
  TStyleChangeEvent OnStyleChange;
  TNotifyEvent OnTypeClick;
  TOpenWinClickEvent OnOpenWinClick;
  TDeleteClickEvent OnDeleteClick;
  TNotifyEvent OnClearClick;
  TListViewSelectItemEvent OnItemSelect;
  TLVChangeEvent OnItemChange;
  TLVChangingEvent OnItemChanging;

 protected:
  void DoExit() override;
  void FontChanged() override;
  void Resize() override;
  void Loaded() override;

 private:
  void CreateControls();
  void InstallHandlers();
  bool Designing() const { return HasState(ComponentStateFlag::Designing); }
  bool LoadingFromForm() const;
  void SetWords(TStrings& stored, TStrings* words, TLabel* label);
  void WordsChanged(TObject* sender);
  void ChildHintsChanged(TObject* sender);
  void ApplyChildHints();
  void ApplyVisibility(TSelectStyle style);
  void SwapOtherSize();
  void Layout(TSelectStyle style);
  void RangeFrame();
  void ListFrame();
  void UserChoiceFrame();
  void OneRowRange();
  void TwoRowRange();
  void ListLayout();
  void SizeCheckBox();
  static std::string WordAt(const TStrings& words, int index);
  void OrderRange();
  bool Discarded(const std::string& begin, const std::string& final) const;
  void SetEnabledDeep(TWinControl* container, bool enabled);

  // Handlers of the contained controls.
  void SwitchClick(TObject* sender);
  void LookupClick(TObject* sender);
  void DeleteClick(TObject* sender);
  void ClearClick(TObject* sender);
  void ForwardClick(TObject* sender);
  void ForwardDblClick(TObject* sender);
  void ForwardMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ForwardMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void ForwardMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ForwardDragDrop(TObject* sender, TObject* source, int x, int y);
  void ForwardDragOver(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept);
  void ForwardStartDrag(TObject* sender, TObject*& dragObject);
  void ForwardEndDrag(TObject* sender, TObject* target, int x, int y);
  void ForwardStartDock(TObject* sender, TObject*& dragObject);
  void ForwardEndDock(TObject* sender, TObject* target, int x, int y);
  void ForwardKeyDown(TObject* sender, Word& key, TShiftState shift);
  void ForwardKeyUp(TObject* sender, Word& key, TShiftState shift);
  void ForwardKeyPress(TObject* sender, std::string& key);
  void ListSelectItem(TObject* sender, TListItem* item, bool selected);
  void ListChange(TObject* sender, TListItem* item, TItemChange change);
  void ListChanging(TObject* sender, TListItem* item, TItemChange change, bool& allow);
  void ListColumnClick(TObject* sender, TListColumn* column);
  void ListCompare(TObject* sender, TListItem* a, TListItem* b, std::intptr_t data, int& compare);
  // The sender and coordinates a forwarded mouse event carries.
  TObject* MouseSender(TObject* sender, int& x, int& y);

  TSelectStyle style_ = sp_Range;
  bool userChoice_ = true;
  bool useVertical_ = false;
  std::string hintWord_ = "区间选择";
  std::unique_ptr<TStringList> beginWords_, finalWords_, childHints_;
  bool canOpenWin_ = true;
  int glyphIndex_ = 8;
  std::string editMask_;
  TValueType valueType_ = vt_String;
  TDateType dateType_ = dt_NoneCare;
  std::string dateSign_ = "/";
  bool autoChangeDateSite_ = true;
  bool useDiscard_ = false;
  std::string discard_;
  int otherWidth_ = 200, otherHeight_ = 105;
  TCheckDuplicate checkDuplicate_ = cd_None;
  bool sortListBox_ = false;
  std::string blankText_;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  bool enabledValue_ = true;
  bool arranging_ = false;
};

}  // namespace qv
