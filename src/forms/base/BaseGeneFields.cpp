// Field validation of the condition form: descendants register the names of
// their date, year-month and required fields, and the form splices its own
// handlers into those controls' events. A control's previous handler is
// saved and runs after a passing check, so descendants keep theirs.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <vector>

#include "controls/ExtPage.h"
#include "controls/QvSpinEdit.h"
#include "controls/SelectPnl.h"
#include "forms/base/BaseGene.h"
#include "platform/core/AsciiText.h"
#include "platform/core/NumberText.h"
#include "platform/core/Strings.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/EditMask.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/PageControl.h"
#include "services/LibStrs.h"

namespace qv {

namespace {

constexpr TColor kRequiredColor = 0xAFFFFF;  // light yellow: red 255, green 255, blue 175
const char* const kNamedActionButtons[] = {"btnQuery", "btnDesign", "btnPeriod"};

std::string Trimmed(const std::string& text) { return std::string(Trim(text)); }

// The trimmed, non-empty fields of a comma-separated list.
std::vector<std::string> ListEntries(const std::string& list) {
  std::vector<std::string> entries;
  for (int i = 1, count = FieldCount(list, ","); i <= count; ++i)
    if (std::string entry = Trimmed(GetField(list, ",", i)); !entry.empty()) entries.push_back(entry);
  return entries;
}

// The integer a text holds, -1 when it holds none (or one beyond int).
int NumberOrMinusOne(const std::string& text) {
  std::int64_t value = 0;
  if (!TryStrToInt64(Trim(text), value) || value < INT32_MIN || value > INT32_MAX) return -1;
  return static_cast<int>(value);
}

// The first count parts of a text between separators as integers; none
// when any of them is not a number.
std::vector<int> NumberParts(const std::string& text, const std::string& separator, int count) {
  std::vector<int> parts;
  for (int i = 1; i <= count; ++i) {
    const int part = NumberOrMinusOne(GetField(text, separator, i));
    if (part == -1) return {};
    parts.push_back(part);
  }
  return parts;
}

// "%d%.2d%.2d" of a date, or "%d%.2d" of a year-month (day -1).
std::string CompactKey(int year, int month, int day = -1) {
  char key[48];
  if (day == -1)
    std::snprintf(key, sizeof key, "%d%.2d", year, month);
  else
    std::snprintf(key, sizeof key, "%d%.2d%.2d", year, month, day);
  return key;
}

bool IsNumber(const std::string& text) {
  std::int64_t value = 0;
  return TryStrToInt64(text, value);
}

bool HasEvent(const TObject& object, const std::string& name) {
  const TPropInfo* info = GetPropInfo(&object, name);
  return info && info->Kind == TTypeKind::Method;
}

void CallNotify(const TMethod& handler, TObject* sender) {
  if (!handler || !TNotifyEvent::Accepts(handler)) return;
  const TNotifyEvent event(handler);
  event(sender);
}

// The form's own field handlers are never saved as a control's previous
// handler: calling a saved one of them would run the chain again, forever.
bool IsOwnHandler(const TfrmBaseGene& form, const TMethod& handler) {
  return handler.Data == &form && (handler.Code == MethodCodeOf<&TfrmBaseGene::DateFieldEnter>() ||
                                   handler.Code == MethodCodeOf<&TfrmBaseGene::DateFieldExit>() ||
                                   handler.Code == MethodCodeOf<&TfrmBaseGene::RequiredExit>());
}

// Saves the component's current handler of the event and installs the
// replacement; a component without the event is left alone.
void SpliceEvent(const TfrmBaseGene& form, std::vector<TfrmBaseGene::SavedEvent>& saved, TComponent& component,
                 const std::string& event, const TMethod& replacement) {
  if (!HasEvent(component, event)) return;
  const TMethod current = GetMethodProperty(component, event);
  if (current && !IsOwnHandler(form, current)) saved.push_back({component.Name() + "." + event, current});
  SetMethodProperty(component, event, replacement);
}

// A name is registered when it occurs anywhere in the registry's text.
bool Registered(const std::string& registry, const std::string& name) {
  return !name.empty() && registry.find(name) != std::string::npos;
}

bool MaskSavesLiterals(const std::string& mask) { return GetField(mask, ";", 2) == "1"; }

// ---- date and year-month checks ----

// What differs between the date check and the year-month check.
struct FieldKind {
  std::string Mask;
  std::string Template;
  const char* ErrorKey;
  const char* ErrorDefault;
  std::function<bool(const std::string& text)> IsBad;
};

void ShowUnsupportedControl(TfrmBaseGene& form, const FieldKind& kind) {
  const std::string text = form.LocalText("TfrmBaseGene", kind.ErrorKey, kind.ErrorDefault);
  MessageDlg(text + "\n" + "TSelectPanel, TMaskedit, TEdit", mtCustom, MsgDlgButtons(mbOK), 0);
}

bool IsBlankText(const std::string& text) { return Trim(text).empty(); }

bool PrepareForEntry(TControl* control, const FieldKind& kind) {
  if (auto* panel = ObjectAs<TSelectPanel>(control)) {
    panel->SetEditMask(kind.Mask);
  } else if (auto* masked = ObjectAs<TCustomMaskEdit>(control)) {
    masked->SetEditMask(kind.Mask);
  } else if (auto* plain = ObjectAs<TEdit>(control)) {
    // Only an empty edit gets the template: a value already there is kept.
    if (IsBlankText(plain->GetText())) plain->SetText(kind.Template);
  }
  return true;
}

bool CheckOnLeave(TfrmBaseGene& form, TControl* control, const FieldKind& kind) {
  std::vector<TWinControl*> targets;
  if (auto* panel = ObjectAs<TSelectPanel>(control))
    targets = {panel->edBegin, panel->edFinal};
  else
    targets = {static_cast<TWinControl*>(control)};
  for (TWinControl* target : targets) {
    if (!kind.IsBad(target->GetText())) continue;
    form.ReportMessage("E;000005");
    if (target->CanFocus()) target->SetFocus();
    return false;
  }
  form.ReportMessage("");
  return true;
}

bool CheckField(TfrmBaseGene& form, TControl* control, bool entering, const FieldKind& kind) {
  const bool supported =
      ObjectAs<TSelectPanel>(control) || ObjectAs<TCustomMaskEdit>(control) || ObjectAs<TEdit>(control);
  if (!supported) {
    ShowUnsupportedControl(form, kind);
    return false;
  }
  return entering ? PrepareForEntry(control, kind) : CheckOnLeave(form, control, kind);
}

// ---- colours ----

// Visits the controls whose colours are recorded, with the names they are
// recorded under: the three parts of a selection panel, and every other
// windowed control that is not a container; containers, named or not, are
// searched. A control without a name has nothing to be recorded under.
void ForEachColouredControl(TWinControl* container, const std::function<void(const std::string&, TControl&)>& visit) {
  if (!container) return;
  for (TControl* child : container->ControlList()) {
    auto* window = ObjectAs<TWinControl>(child);
    if (!window) continue;
    auto* panel = ObjectAs<TSelectPanel>(window);
    if (!panel && window->ControlCount() > 0 && !window->Is<TQvSpinEdit>()) {
      ForEachColouredControl(window, visit);
    } else if (window->Name().empty()) {
      continue;
    } else if (panel) {
      visit(panel->Name() + ".edBegin", *panel->edBegin);
      visit(panel->Name() + ".edFinal", *panel->edFinal);
      visit(panel->Name() + ".ListBox", *panel->ListBox);
    } else if (HasProperty(window, "Color")) {
      visit(window->Name(), *window);
    }
  }
}

// The parts of a required panel that are coloured: 1 edBegin, 2 edFinal,
// 3 the list, anything else all three.
void ColourPanelParts(TSelectPanel& panel, int part) {
  if (part != 2 && part != 3) panel.edBegin->SetColor(kRequiredColor);
  if (part != 1 && part != 3) panel.edFinal->SetColor(kRequiredColor);
  if (part != 1 && part != 2) panel.ListBox->SetColor(kRequiredColor);
}

// ---- required fields ----

// Makes the tab sheet holding the control the active page of its page
// control; a form met first ends the search.
void ActivateContainingPage(TControl& control) {
  for (TControl* c = control.Parent(); c && !c->Is<TCustomForm>(); c = c->Parent()) {
    if (auto* sheet = ObjectAs<TTabSheet>(c)) {
      if (sheet->PageControl()) sheet->PageControl()->SetActivePage(sheet);
      return;
    }
  }
}

void FocusRequiredField(TControl& control) {
  if (!control.Enabled()) return;
  TWinControl* target = ObjectAs<TWinControl>(&control);
  if (auto* panel = ObjectAs<TSelectPanel>(&control))
    target = panel->IsRangeShown() ? static_cast<TWinControl*>(panel->edBegin) : panel->ListBox;
  if (target && target->CanFocus()) target->SetFocus();
}

// Year digits and their blank by date type: 4 digits, 2 for type 4, 3 for type 5.
std::string YearMask(int type) { return type == 4 ? "99" : type == 5 ? "999" : "9999"; }
std::string YearBlank(int type) { return std::string(YearMask(type).size(), ' '); }

// The year and the other parts joined by the separator: the year last for
// types 2 and 3 (month or day first), first for the others.
std::string InTypeOrder(int type, const std::string& separator, const std::string& year,
                        std::initializer_list<const char*> others) {
  std::string text;
  for (const char* part : others) text += (text.empty() ? "" : separator) + part;
  return type == 2 || type == 3 ? text + separator + year : year + separator + text;
}

}  // namespace

// ---- registration ----

void TfrmBaseGene::SetDateFields(const std::string& names) {
  std::string list = Trimmed(names);
  if (list == DateFields) return;
  if (!DateFields.empty()) {
    UnhookFields(DateFields);
    // The print date stays registered when a descendant registers its own fields.
    if (list.find("edPrintDate") == std::string::npos) list += "," + DateFields;
  }
  DateFields = list;
  HookFields(DateFields);
}

void TfrmBaseGene::SetYearMonthFields(const std::string& names) {
  const std::string list = Trimmed(names);
  if (list == YearMonthFields) return;
  if (!YearMonthFields.empty()) UnhookFields(YearMonthFields);
  YearMonthFields = list;
  HookFields(YearMonthFields);
}

void TfrmBaseGene::SetRequiredFields(const std::string& names) {
  const std::string list = Trimmed(names);
  if (!RequiredFields.empty()) {
    RestoreColors(this);
    UnhookActionButtons();
  }
  RequiredFields = list;
  bool anyField = false;
  for (const std::string& entry : ListEntries(RequiredFields)) {
    TComponent* component = FindComponent(Trimmed(GetField(entry, ";", 1)));
    if (!component) continue;
    if (auto* panel = ObjectAs<TSelectPanel>(component))
      ColourPanelParts(*panel, NumberOrMinusOne(GetField(entry, ";", 3)));
    else if (HasProperty(component, "Color"))
      SetOrdinalProperty(component, "Color", kRequiredColor);
    anyField = true;
  }
  if (anyField) HookActionButtons();
}

// ---- hooking ----

void TfrmBaseGene::HookFields(const std::string& names) {
  const int type = DateType();
  for (const std::string& name : ListEntries(names)) {
    TComponent* component = FindComponent(name);
    if (!component) continue;
    SpliceEvent(*this, SavedFieldEvents, *component, "OnEnter", OnDateFieldEnter.Method());
    SpliceEvent(*this, SavedFieldEvents, *component, "OnExit", OnDateFieldExit.Method());
    if (auto* panel = ObjectAs<TSelectPanel>(component)) {
      panel->SetValueType(vt_Date);
      panel->SetDateSign(DateSeparator());
      panel->SetDateType(type >= 1 && type <= 5 ? static_cast<TDateType>(type) : dt_NoneCare);
    }
  }
}

void TfrmBaseGene::UnhookFields(const std::string& names) {
  for (const std::string& name : ListEntries(names)) {
    TComponent* component = FindComponent(name);
    if (!component) continue;
    for (const std::string event : {"OnEnter", "OnExit"})
      if (HasEvent(*component, event))
        SetMethodProperty(*component, event, FirstSavedHandler(SavedFieldEvents, component->Name() + "." + event));
  }
}

void TfrmBaseGene::HookActionButtons() {
  if (btnOk) SpliceEvent(*this, SavedClickEvents, *btnOk, "OnClick", OnRequiredExit.Method());
  for (const char* name : kNamedActionButtons)
    if (TComponent* button = FindComponent(name))
      SpliceEvent(*this, SavedClickEvents, *button, "OnClick", OnRequiredExit.Method());
}

void TfrmBaseGene::UnhookActionButtons() {
  std::vector<TComponent*> buttons{btnOk};
  for (const char* name : kNamedActionButtons) buttons.push_back(FindComponent(name));
  for (TComponent* button : buttons)
    if (button && HasEvent(*button, "OnClick"))
      SetMethodProperty(*button, "OnClick", FirstSavedHandler(SavedClickEvents, button->Name() + ".OnClick"));
}

TMethod TfrmBaseGene::FirstSavedHandler(const std::vector<SavedEvent>& saved, const std::string& name) const {
  for (const SavedEvent& entry : saved)
    if (entry.Name == name) return entry.Handler;
  return TMethod{};
}

// ---- the handlers spliced into the controls ----

void TfrmBaseGene::DateFieldEnter(TObject* sender) {
  CheckFailed = false;
  if (auto* control = ObjectAs<TWinControl>(sender)) RunFieldEventChain(control, "OnEnter");
}

void TfrmBaseGene::DateFieldExit(TObject* sender) {
  // Leaving for Cancel checks nothing: the form is about to close.
  if (btnCancel && ActiveControl() == btnCancel) return;
  CheckFailed = false;
  if (auto* control = ObjectAs<TWinControl>(sender)) RunFieldEventChain(control, "OnExit");
}

void TfrmBaseGene::RunFieldEventChain(TWinControl* control, const std::string& event) {
  const std::string& name = control->Name();
  const bool entering = event == "OnEnter";
  if (Registered(DateFields, name)) {
    const bool passed = CheckDateField(control, entering);
    CheckFailed = CheckFailed || !passed;
  } else if (Registered(YearMonthFields, name)) {
    const bool passed = CheckYearMonthField(control, entering);
    CheckFailed = CheckFailed || !passed;
  }
  if (!CheckFailed) CallNotify(FirstSavedHandler(SavedFieldEvents, name + "." + event), control);
}

void TfrmBaseGene::RequiredExit(TObject* sender) {
  CheckFailed = false;
  TComponent* period = FindComponent("btnPeriod");
  TComponent* query = FindComponent("btnQuery");
  TComponent* design = FindComponent("btnDesign");
  const bool periodDown = period && GetOrdinalProperty(period, "Down") != 0;
  bool check = sender == btnOk || periodDown;
  if ((query && sender == query) || (design && sender == design)) check = true;
  if (check) CheckFailed = CheckRequired(RequiredFields);

  if (period && CheckFailed && pgOption && pgOption->PageCount() > 0 &&
      pgOption->ActivePage() != pgOption->Pages(pgOption->PageCount() - 1)) {
    // The periodic settings page, which the down button opened, goes away again.
    SetOrdinalProperty(period, "Down", 0);
    pgOption->Pages(pgOption->PageCount() - 1)->SetTabVisible(false);
  }
  auto* button = ObjectAs<TComponent>(sender);
  if (!CheckFailed && button) CallNotify(FirstSavedHandler(SavedClickEvents, button->Name() + ".OnClick"), sender);
}

void TfrmBaseGene::FireExit(TControl* control) {
  if (!control) return;
  if (auto* panel = ObjectAs<TSelectPanel>(control->Owner())) control = panel;
  CheckFailed = false;
  CallNotify(GetMethodProperty(*control, "OnExit"), control);
}

// ---- checks ----

bool TfrmBaseGene::CheckDateField(TControl* control, bool entering) {
  const FieldKind kind{DateMask(), DateTemplate(), "sDatePramError", "判断日期的函数第一个参数错误, 只能传下列三种物件:",
                       [this](const std::string& text) {
                         const std::string key = DisplayDateToKey(text);
                         return !key.empty() && !IsValidCompactDate(key);
                       }};
  return CheckField(*this, control, entering, kind);
}

bool TfrmBaseGene::CheckYearMonthField(TControl* control, bool entering) {
  const FieldKind kind{YearMonthMask(), YearMonthTemplate(), "sYMPramError",
                       "判断年月的函数第一个参数错误, 只能传下列三种物件:", [this](const std::string& text) {
                         // An untouched masked field holds the separator alone.
                         if (Trimmed(text) == DateSeparator()) return false;
                         // An emptied field is not a bad year-month; whether it
                         // must be filled is the required-field check's matter.
                         // Any other text without a key (an unknown date type)
                         // is no year-month.
                         if (IsBlankText(text)) return false;
                         return !IsValidCompactDate(YearMonthToKey(text) + "01");
                       }};
  return CheckField(*this, control, entering, kind);
}

bool TfrmBaseGene::CheckRequired(const std::string& entries) {
  for (const std::string& entry : ListEntries(entries)) {
    const std::string check = Trimmed(GetField(entry, ";", 2));
    if (SameTextAscii(check, "N") || IsNumber(check)) continue;
    TComponent* component = FindComponent(Trimmed(GetField(entry, ";", 1)));
    if (!component) continue;
    bool blank = false;
    if (auto* panel = ObjectAs<TSelectPanel>(component))
      blank = panel->IsRangeShown() ? IsBlank(panel->edBegin) || IsBlank(panel->edFinal)
                                    : panel->Items().Count() == 0;
    else
      blank = IsBlank(component);
    if (!blank) continue;
    ReportMessage("E;000037");
    if (auto* control = ObjectAs<TControl>(component)) {
      ActivateContainingPage(*control);
      FocusRequiredField(*control);
    }
    return true;
  }
  return false;
}

bool TfrmBaseGene::IsBlank(TComponent* component) const {
  if (!component || !HasProperty(component, "Text")) return false;
  const std::string text = GetStringProperty(component, "Text");
  // A mask that keeps its literals makes an empty control read as the
  // literals alone: that is the blank text then.
  std::string blankText;
  if (HasProperty(component, "EditMask")) {
    const std::string mask = GetStringProperty(component, "EditMask");
    if (MaskSavesLiterals(mask)) {
      const EditMask engine(mask);
      blankText = engine.TextFromDisplay(engine.EmptyDisplayText());
    }
  }
  return Trim(text) == Trim(blankText);
}

// ---- conversions ----

std::string TfrmBaseGene::DisplayDateToKey(const std::string& text) const {
  // Reading the date type may load the system parameters first.
  auto& self = const_cast<TfrmBaseGene&>(*this);
  const std::string trimmed = Trimmed(text);
  try {
    if (trimmed.empty() || trimmed == Trimmed(self.DateTemplate())) return "";
    const std::vector<int> p = NumberParts(trimmed, self.DateSeparator(), 3);
    if (p.empty()) return trimmed;
    switch (self.DateType()) {
      case 1: return CompactKey(p[0], p[1], p[2]);
      case 2: return CompactKey(p[2], p[0], p[1]);
      case 3: return CompactKey(p[2], p[1], p[0]);
      case 4:
      case 5: return CompactKey(p[0] + 1911, p[1], p[2]);
      default: return "";
    }
  } catch (...) {
    return trimmed;
  }
}

std::string TfrmBaseGene::YearMonthToKey(const std::string& text) const {
  auto& self = const_cast<TfrmBaseGene&>(*this);
  const std::string trimmed = Trimmed(text);
  try {
    if (trimmed.empty() || trimmed == Trimmed(self.YearMonthTemplate())) return "";
    // A part that is not a number must not make a valid key (for the years
    // counted from 1912 it would): the text comes back as it was, as for a 0.
    const std::vector<int> p = NumberParts(trimmed, self.DateSeparator(), 2);
    if (p.empty() || p[0] == 0 || p[1] == 0) return trimmed;
    switch (self.DateType()) {
      case 1: return CompactKey(p[0], p[1]);
      case 2:
      case 3: return CompactKey(p[1], p[0]);
      case 4:
      case 5: return CompactKey(p[0] + 1911, p[1]);
      default: return "";
    }
  } catch (...) {
    return trimmed;
  }
}

// ---- colours ----

void TfrmBaseGene::RecordColors(TWinControl* container) {
  if (!Colors) return;
  ForEachColouredControl(container, [this](const std::string& name, TControl& control) {
    Colors->Add(name + "=" + IntToStr(control.Color()));
  });
}

void TfrmBaseGene::RestoreColors(TWinControl* container) {
  if (!Colors) return;
  ForEachColouredControl(container, [this](const std::string& name, TControl& control) {
    std::int64_t colour = 0;
    if (TryStrToInt64(Colors->Values(name), colour)) control.SetColor(static_cast<TColor>(colour));
  });
}

// ---- masks and templates ----

std::string TfrmBaseGene::DateMask() {
  const int type = DateType();
  return InTypeOrder(type, DateSeparator(), YearMask(type), {"99", "99"}) + ";1; ";
}

std::string TfrmBaseGene::YearMonthMask() {
  const int type = DateType();
  return InTypeOrder(type, DateSeparator(), YearMask(type), {"99"}) + ";1; ";
}

std::string TfrmBaseGene::DateTemplate() {
  const int type = DateType();
  return InTypeOrder(type, DateSeparator(), YearBlank(type), {"  ", "  "});
}

std::string TfrmBaseGene::YearMonthTemplate() {
  const int type = DateType();
  return InTypeOrder(type, DateSeparator(), YearBlank(type), {"  "});
}

}  // namespace qv
