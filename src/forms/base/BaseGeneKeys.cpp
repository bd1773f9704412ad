// The condition form's keyboard: the form previews every key.
#include "forms/base/BaseGene.h"

#include "platform/core/AsciiText.h"

#include <algorithm>

#include "controls/ExtPage.h"
#include "controls/QvRadio.h"
#include "controls/SelectPnl.h"
#include "platform/automation/Automation.h"
#include "platform/system/Shell.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/Memo.h"

namespace qv {

namespace {

constexpr TShiftState kModifiers = ssShift | ssAlt | ssCtrl;

char UpperAt(const std::string& text, std::size_t index) {
  if (index >= text.size()) return '\0';
  return AsciiUpper(text[index]);
}

// The help topic of a program: a kind digit from the 4th character ("A" 6,
// "M" 8, else 1; after "A" or "M" the 5th character decides the rest), a
// digit for reports ("R" 2) or batch programs ("B" 3), the last two
// characters and "0000". Empty when the identifier names no topic.
std::string HelpTopic(const std::string& programID) {
  char c = UpperAt(programID, 3);
  if (c == '\0') return "";
  std::string topic = "1";
  if (c == 'A' || c == 'M') {
    topic = c == 'A' ? "6" : "8";
    c = UpperAt(programID, 4);
  }
  if (c == 'B')
    topic += "3";
  else if (c == 'R')
    topic += "2";
  else
    return "";
  return topic + programID.substr(programID.size() - 2) + "0000";
}

// Enter in a grid moves one cell right; from the last column to the first
// editable column of the next row, appending a row after the last one.
void AdvanceGridCell(TCustomGrid& grid) {
  if (grid.Col() < grid.ColCount() - 1) {
    grid.SetCol(grid.Col() + 1);
    return;
  }
  if (grid.Row() == grid.RowCount() - 1) grid.SetRowCount(grid.RowCount() + 1);
  grid.MoveTo(grid.FixedCols(), grid.Row() + 1);
}

// What the page-end registry knows a control by: an edit inside a
// selection panel counts as the panel, a button of a radio group as the group.
TControl* PageEndIdentity(TWinControl* control) {
  for (TControl* c = control; c && !c->Is<TCustomForm>(); c = c->Parent())
    if (c->Is<TSelectPanel>() || c->Is<TQvRadioGroup>()) return c;
  return control;
}

// True when a page with a visible tab follows the active one.
bool HasLaterPage(const TPageControl& pages) {
  const TTabSheet* next = pages.FindNextPage(pages.ActivePage(), true, true);
  return next && next->PageIndex() > pages.ActivePageIndex();
}

}  // namespace

void TfrmBaseGene::FormKeyDown(TObject*, Word& key, TShiftState shift) {
  const TShiftState modifiers = shift & kModifiers;
  if (key == VK_ESCAPE) {
    Close();
  } else if (key == VK_F1) {
    ShowHelp();
  } else if (key == VK_F2) {
    LookupField(VK_F2, ActiveControl());
  } else if (key == 'V' && modifiers == (ssCtrl | ssAlt)) {
    ShowItemProperties(ModulePath);
  } else if (modifiers & ssCtrl) {
    const bool backward = (key == VK_TAB && (modifiers & ssShift)) || key == VK_PRIOR;
    const bool forward = (key == VK_TAB && !(modifiers & ssShift)) || key == VK_NEXT;
    if (backward || forward) {
      NextPage(forward);
      key = 0;
    }
  }
}

void TfrmBaseGene::FormKeyPress(TObject*, std::string& key) {
  if (key == "\r") EnterPressed(key);
}

// F1: the host's help for the program's topic.
void TfrmBaseGene::ShowHelp() {
  const std::string topic = HelpTopic(ProgramID);
  if (topic.empty() || HostObject.Type() != VarType::Dispatch) return;
  try {
    DispatchOf(HostObject, "CallHelp")->Call("CallHelp", {Variant::ArrayOf({ProgramID.substr(0, 3), topic})});
  } catch (const Exception& e) {
    RecordText(e.Message());  // a host without help leaves the form as it was
  }
}

// Enter moves on: to the next cell of a grid, to the next control, or after
// the controls that end a page to the next page. A memo keeps the Enter as a
// new line while its caret is on one of its first two lines.
void TfrmBaseGene::EnterPressed(std::string& key) {
  TWinControl* active = ActiveControl();
  if (!active) return;
  if (auto* grid = ObjectAs<TDrawGrid>(active)) {
    key.clear();
    AdvanceGridCell(*grid);
    return;
  }
  auto* memo = ObjectAs<TCustomMemo>(active);
  if (memo && memo->CaretPos().Y <= 1) return;
  key.clear();
  const bool endsPage = std::find(PageEndControls.begin(), PageEndControls.end(), PageEndIdentity(active)) !=
                        PageEndControls.end();
  if (!endsPage || ObjectAs<TCustomGrid>(active)) {  // other grids go on to the next control
    SelectNext(active, true, true);
    return;
  }
  if (HasLaterPage(*pgOption)) NextPage(true);
}

// The page control's own next-page rule: it wraps around at either end.
void TfrmBaseGene::NextPage(bool goForward) { pgOption->SelectNextPage(goForward); }

}  // namespace qv
