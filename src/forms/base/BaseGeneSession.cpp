// The condition form's ties to the outside: the application server session,
// the host's services (counter, validator, lookup window), the company's
// system parameters, the message records and dialogs, validator queries, the
// program master, counters, the user's rights, the date picker and phrases.
#include <exception>
#include <memory>

#include "forms/base/BaseGene.h"
#include "localization/CodeConverter.h"
#include "platform/automation/Automation.h"
#include "platform/automation/SocketConnection.h"
#include "platform/core/AsciiText.h"
#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"
#include "platform/core/FormatText.h"
#include "platform/core/NumberText.h"
#include "platform/core/Strings.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/Button.h"
#include "services/LibStrs.h"
#include "services/OrvaneINI.h"

namespace qv {

namespace {

constexpr int kMessageSlots = 10;
constexpr const char* kFreeTextCode = "E;-1";
constexpr const char* kRecordSeparator = "; ";
constexpr const char* kStandAloneHost = "FerrowWorkCenter.Manager";

// The message of the exception being handled.
std::string CurrentErrorMessage() {
  try {
    throw;
  } catch (const Exception& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown error";
  }
}

// A value as text, "" when it has none.
std::string SlotText(const Variant& value) {
  try {
    return value.ToString();
  } catch (const Exception&) {
    return "";
  }
}

// The template filled with the parameters; a template that does not fit
// them (it comes from outside) is shown raw, each parameter after it.
std::string FillTemplate(const std::string& pattern, const std::vector<Variant>& params) {
  try {
    return Format(pattern, params);
  } catch (const Exception&) {
    std::string text = pattern + "\r";
    for (const Variant& param : params) text += SlotText(param) + ";";
    return text;
  }
}

struct MessageKind {
  TMsgDlgType DialogType;
  TMsgDlgButtons DefaultButtons;
};

// The dialog kind and default buttons of a message type letter.
MessageKind KindOf(const std::string& type) {
  if (type == "C" || type == "W") return {mtWarning, mbOKCancel};
  if (type == "D") return {mtWarning, mbYesNoCancel};
  if (type == "E") return {mtError, MsgDlgButtons(mbOK)};
  if (type == "I") return {mtInformation, MsgDlgButtons(mbOK)};
  if (type == "Q") return {mtConfirmation, mbOKCancel};
  return {mtCustom, MsgDlgButtons(mbOK)};
}

// A message code "T;NNNNNN;p1;...": its type, number and parameter slots.
struct MessageCode {
  std::string Type, Number;
  std::vector<Variant> Params = std::vector<Variant>(kMessageSlots);
  bool Shown = false;
};

MessageCode ParseMessageCode(const std::string& code) {
  MessageCode parsed;
  parsed.Type = GetField(code, ";", 1);
  parsed.Number = GetField(code, ";", 2);
  const int fields = FieldCount(code, ";");
  for (int field = 3; field <= fields && field - 3 < kMessageSlots; ++field)
    parsed.Params[static_cast<std::size_t>(field - 3)] = GetField(code, ";", field);
  std::int64_t number = 0;
  parsed.Shown = TryStrToInt64(parsed.Number, number) && number > 0;
  // "-000004" names message "000004", recorded only.
  if (!parsed.Shown && !parsed.Number.empty()) parsed.Number.erase(0, 1);
  return parsed;
}

void AppendRecord(std::string& records, const std::string& entry) { records += entry + kRecordSeparator; }

// Sets name=value in a list as the platform's Values does: an empty value
// removes the entry.
void SetNameValue(TStrings& list, const std::string& name, const std::string& value) {
  for (int i = 0; i < list.Count(); ++i) {
    if (!SameTextAscii(list.Names(i), name)) continue;
    if (value.empty())
      list.Delete(i);
    else
      list.SetStrings(i, name + "=" + value);
    return;
  }
  if (!value.empty()) list.Add(name + "=" + value);
}

// The default label of an empty goods classification parameter ("SYS007"
// to "SYS010"); "" for any other name.
std::string ClassificationLabel(const std::string& name, bool english) {
  static const char* const kChinese[] = {"商品分类方式一", "商品分类方式二", "商品分类方式三", "商品分类方式四"};
  static const char* const kEnglish[] = {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3", "Inv.Cate.4"};
  static const char* const kNames[] = {"SYS007", "SYS008", "SYS009", "SYS010"};
  const std::string upper = AsciiUpper(name);
  for (int i = 0; i < 4; ++i)
    if (upper == kNames[i]) return english ? kEnglish[i] : kChinese[i];
  return "";
}

// A member of a service held in a value; raises when the value holds no object.
Variant ServiceMember(const Variant& service, std::string_view member) {
  return DispatchOf(service, member)->Get(member);
}

// The form is being left through Cancel: nothing is checked or reported.
bool LeavingForm(const TfrmBaseGene& form) {
  return form.btnCancel != nullptr && form.ActiveControl() == form.btnCancel;
}

}  // namespace

// ---- session ----

bool TfrmBaseGene::ConfigureConnection(TSocketConnection* connection) {
  try {
    connection->SetConnected(false);
    const TOrvaneIniC configuration;
    if (!ErrorCodes.empty()) {
      // A problem met earlier in the initialisation is shown again and stops the session.
      ReportMessage(ErrorCodes);
      return false;
    }
    const Variant& servers = configuration.ServerList();
    if (!servers.IsArray() || servers.DimCount() != 2 || servers.HighBound(2) < servers.LowBound(2)) return true;
    connection->SetAddress(servers.At(0, 0).ToString());
    connection->SetPort(servers.At(1, 0).ToInt());
    return true;
  } catch (...) {
    RecordText(CurrentErrorMessage());
    return false;
  }
}

bool TfrmBaseGene::OpenSession() {
  try {
    AppServer = Variant();
    if (MainMidas->Connected()) MainMidas->SetConnected(false);
    LocalServer = IsLoopbackAddress(MainMidas->Address());
    if (LocalServer) {
      // In-process: the server object itself, created by its name.
      AppServer = Variant(CreateOleObject(MainMidas->ServerName()));
    } else {
      MainMidas->SetConnected(true);
      if (MainMidas->Connected()) AppServer = MainMidas->AppServer();
    }
    return true;
  } catch (...) {
    RecordText(CurrentErrorMessage());
    return false;
  }
}

// ---- services ----

void TfrmBaseGene::GetServices() {
  if (!IsLibraryModule()) {
    // A stand-alone test program has no shell: it asks for the host object itself.
    try {
      HostObject = Variant(CreateOleObject(kStandAloneHost));
    } catch (...) {
      HostObject = Variant();
    }
  }
  try {
    Counter = ServiceMember(HostObject, "Com_Counter");
    std::string none;
    GetSysParam("", none);
    CompanyTag = SysParam("QVX002");
  } catch (...) {
    Counter = Variant();
  }
  try {
    Validator = ServiceMember(HostObject, "Com_Validator");
  } catch (...) {
    Validator = Variant();
  }
}

void TfrmBaseGene::GetLookupWindowService() {
  if ((Flags & 4) == 0) return;
  try {
    LookupWindow = ServiceMember(HostObject, "Com_F2Window");
  } catch (...) {
    LookupWindow = Variant();
  }
}

// ---- system parameters ----

void TfrmBaseGene::GetSysParam(const std::string& name, std::string& value) {
  value.clear();
  if (name.empty()) {
    LoadSysParams();  // failures reach GetServices, which forgets the counter
  } else {
    try {
      if (SysParams) value = SysParams->Values(name);
    } catch (...) {
      value.clear();
    }
  }
  if (value.empty()) {
    const std::string label = ClassificationLabel(name, InterfaceCodePage() == "437");
    if (!label.empty()) {
      value = label;
      return;
    }
  }
  if (!TextsConverted()) return;
  try {
    value = DisplayConvert(Variant(value)).ToString();
  } catch (...) {
    value.clear();
  }
}

// Reads every parameter of the company from the counter: a [2 x n] array of
// names (row 0) and values (row 1).
void TfrmBaseGene::LoadSysParams() {
  if (IsEmptyOrNull(Counter) || !SysParams) return;
  std::vector<Variant> args = {Variant(CompanyID)};
  const Variant table = DispatchOf(Counter, "GetSysInfo")->Invoke("GetSysInfo", args);
  if (!table.IsArray()) return;  // the company has no parameters
  for (int column = 0; column <= table.HighBound(2); ++column)
    SetNameValue(*SysParams, table.At(0, column).ToString(), table.At(1, column).ToString());
}

std::string TfrmBaseGene::SysParam(const std::string& name) {
  std::string value;
  GetSysParam(name, value);
  return value;
}

int TfrmBaseGene::DateType() {
  std::int64_t type = 0;
  DateTypeCache = TryStrToInt64(SysParam("Sys001"), type) ? static_cast<int>(type) : 1;
  return DateTypeCache;
}

std::string TfrmBaseGene::DateSeparator() {
  DateSepCache = SysParam("Sys002");
  if (DateSepCache.empty()) DateSepCache.push_back('/');
  return DateSepCache;
}

// ---- messages ----

void TfrmBaseGene::ReportMessage(const std::string& code) {
  if (LeavingForm(*this)) return;
  if (code.empty()) {
    ErrorCodes.clear();
    ErrorTexts.clear();
    return;
  }
  const MessageCode message = ParseMessageCode(code);  // before the record grows: code may be ErrorCodes
  AppendRecord(ErrorCodes, code);
  std::string pattern;
  GetMessageText(message.Type, message.Number, pattern);
  const std::string text = FillTemplate(pattern, message.Params);
  if (ErrorTexts.find(text) == std::string::npos) AppendRecord(ErrorTexts, text);
  if (message.Shown) ShowMessageText(text, KindOf(message.Type).DialogType, MsgDlgButtons(mbOK));
}

void TfrmBaseGene::RecordText(const std::string& text) {
  if (LeavingForm(*this)) return;
  const std::string trimmed(Trim(text));
  if (trimmed.empty()) {
    ErrorCodes.clear();
    ErrorTexts.clear();
    return;
  }
  AppendRecord(ErrorCodes, kFreeTextCode);
  if (ErrorTexts.find(trimmed) == std::string::npos) AppendRecord(ErrorTexts, trimmed);
}

void TfrmBaseGene::GetMessageText(const std::string& type, const std::string& number, std::string& text) {
  const std::string unavailable = Format("Can not Get Message\rType= %s, ID= %s ", {Variant(type), Variant(number)});
  if (IsEmptyOrNull(HostObject)) {
    text = unavailable;
  } else {
    try {
      text = DispatchOf(HostObject, "GetMessage")->Call("GetMessage", {Variant(type), Variant(number)}).ToString();
    } catch (...) {
      // A host that cannot answer is treated as no host: reporting must not fail.
      text = unavailable;
    }
  }
  try {
    text = DisplayConvert(Variant(text)).ToString();
  } catch (...) {
    // The text as the host gave it.
  }
}

TModalResult TfrmBaseGene::ShowMessageCode(const std::string& type, const std::string& number,
                                           TMsgDlgButtons buttons, const std::vector<Variant>& params) {
  std::string pattern;
  GetMessageText(type, number, pattern);
  const MessageKind kind = KindOf(type);
  return ShowMessageText(FillTemplate(pattern, params), kind.DialogType, buttons ? buttons : kind.DefaultButtons);
}

TModalResult TfrmBaseGene::ShowMessageText(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  if (SuppressNonErrorDialogs && type != mtError) return mrNone;
  const std::unique_ptr<TForm, void (*)(TObject*)> dialog(CreateMessageDialog(text, type, buttons), &TObject::Free);
  dialog->SetCaption(Caption());
  if (InterfaceCodePage() != "437") {
    for (TComponent* component : dialog->ComponentList()) {
      auto* button = ObjectAs<TButton>(component);
      if (!button) continue;
      const std::string caption = ButtonCaption(button->Name());
      try {
        button->SetCaption(InterfaceConvert(Variant(caption)).ToString());
      } catch (...) {
        button->SetCaption(caption);
      }
    }
  }
  TCodeConverter::ApplyFont(dialog->Font(), InterfaceConversionMode());
  const TModalResult result = dialog->ShowModal();
  AfterDialog(type);
  return result;
}

// No mouse capture survives a dialog; after an error the user goes back to
// the field that was being edited.
void TfrmBaseGene::AfterDialog(TMsgDlgType type) {
  if (TWinControl* active = ActiveControl()) Application().PostMessage(active->Handle(), WM_LBUTTONUP, 0, 0);
  if (type != mtError) return;
  if (auto* last = ObjectAs<TWinControl>(LastFocused); last && last->CanFocus()) last->SetFocus();
}

// ---- validator, counter, rights ----

bool TfrmBaseGene::QueryTable(const std::string& tableCode, const std::string& kind, bool query, Variant& result,
                              const Variant& keys) {
  result = Variant();
  const Variant serverKeys = ServerConvert(keys);
  if (IsEmptyOrNull(Validator)) return false;
  bool found = false;
  try {
    const AutomationPtr validator = Validator.ToObject();
    try {
      validator->PutProperty("ProductID", Variant(ProductID));
      validator->PutProperty("BaseLimited", Variant(Restriction));
    } catch (...) {
      // Older validators lack these settings; the query runs without them.
    }
    std::vector<Variant> args = {Variant(tableCode), Variant(kind), Variant(DbName), serverKeys, Variant()};
    found = validator->Invoke(query ? "QueryData" : "CheckValue", args).ToBool();
    result = args[4];
  } catch (...) {
    return false;
  }
  if (TextsConverted()) {
    try {
      result = DisplayConvert(result);
    } catch (...) {
      // The record as the validator gave it.
    }
  }
  return found;
}

bool TfrmBaseGene::ValidateValue(const Variant& tableCode, const Variant& kind, const Variant& keys,
                                 const std::string& severity, int index, Variant& value) {
  value = Variant();
  if (LeavingForm(*this)) return true;
  bool valid = true;
  std::string code;
  Variant record;
  if (!IsEmptyOrNull(keys)) {
    valid = QueryTable(tableCode.ToString(), kind.ToString(), index == -2, record, keys);
    if (!valid) {
      std::string notFound;
      GetMessageText("I", "000008", notFound);
      if (severity == "E") code = "E;000001;" + notFound;
      if (severity == "W") code = "W;000004;" + notFound;
    }
  }
  if (valid && !IsEmptyOrNull(record)) {
    const bool inside = record.IsArray() && index >= record.LowBound() && index <= record.HighBound();
    value = inside ? record[index] : record;
  }
  ReportMessage(code);  // an empty code clears the records
  return valid;
}

// The program's name and log flag from the program master "ADMMB".
void TfrmBaseGene::LookupProgramMaster() {
  Title.clear();
  try {
    Variant record;
    if (QueryTable("ADMMB", "01", false, record, Variant::ArrayOf({Variant(ProgramID)}))) {
      Title = record[0].ToString();
      WantLog = record[4].ToString() == "Y";
      if (record.HighBound() >= 7 && InterfaceCodePage() == "437") Title = record[7].ToString();
    }
  } catch (...) {
    Title = ProgramID;
    WantLog = false;
  }
  ProgramName = Title;
}

void TfrmBaseGene::GetCounter(const std::string& name, Variant& data, Variant& result) {
  result = Variant();
  if (IsEmptyOrNull(Counter)) return;
  std::vector<Variant> args = {Variant(AsciiUpper(name)), data,
                               Variant::ArrayOf({Variant(CompanyID), Variant(DbName)})};
  result = DispatchOf(Counter, "GetCounter")->Invoke("GetCounter", args);
  data = args[1];
  if (TextsConverted()) result = DisplayConvert(result);
}

void TfrmBaseGene::LoadRights(const Variant& record) {
  const std::string first = record[1].ToString();
  RightsFields.clear();
  for (int field = 1; field <= 6; ++field) RightsFields.push_back(GetField(first, ",", field));
  RightsLetters = RightsFields[3];
  RightsText2 = record[2].ToString();
  RightsExtra = record[3].ToString();
  // A missing letter counts as "N".
  RightsLetter7 = RightsLetters.size() >= 7 && RightsLetters[6] != 'N';
  RightsLetter8 = RightsLetters.size() >= 8 && RightsLetters[7] != 'N';
  Restriction = JoinCounted(record[4].ToString(), record[5]).ToString();
  RightsLoaded();
}

// ---- lookups ----

void TfrmBaseGene::PickDate(const std::string& text, std::string& result) {
  result.clear();
  if (IsEmptyOrNull(LookupWindow)) return;
  const std::string proposal = text.size() == 8 ? text : FormatDateTime("yyyymmdd", Clock::Date());
  const Variant request = Variant::ArrayOf({Variant(DateType() > 3), Variant(proposal), Variant(DbName)});
  const std::string picked(Trim(DispatchOf(LookupWindow, "ShowInputDay")->Call("ShowInputDay", {request}).ToString()));
  result = text;  // kept when the user cancelled or the picker answered no date
  const TDateTime date = CompactToDate(picked);
  if (date != 0) FormatDateByType(DateType(), DateSeparator(), date, result);
}

void TfrmBaseGene::FillPhrase(TControl* control) {
  if (IsEmptyOrNull(LookupWindow)) return;
  std::vector<Variant> args = {Variant(UserID), Variant(DbName), Variant(Handle())};
  Variant phrase = DispatchOf(LookupWindow, "GetPhrase")->Invoke("GetPhrase", args);
  if (TextsConverted()) phrase = DisplayConvert(phrase);
  const std::string text = SlotText(phrase);
  if (!text.empty() && control) control->SetText(text);
}

void TfrmBaseGene::GetLookupData(const std::string& /*tableCode*/, const std::string& /*kind*/, Variant& result,
                                 bool /*fromList*/, const std::string& /*text*/, const Variant& /*keys*/) {
  // The lookup-window request (F2GetData) comes with the selection panel
  // lookups; until then no rows are offered.
  result = Variant();
}

bool TfrmBaseGene::RunServerModule(const std::string& /*a1*/, const std::string& /*a2*/, const std::string& /*a3*/,
                                   int /*a4*/, const Variant& /*a5*/, const std::string& /*a6*/,
                                   const std::string& /*a7*/, const std::string& /*a8*/, const std::string& /*a9*/,
                                   const std::string& /*a10*/, const std::string& /*a11*/) {
  // Running the program's server module in-process comes with the report
  // actions; until then no module runs.
  return false;
}

// ---- conversions ----

Variant TfrmBaseGene::DisplayConvert(const Variant& value) const { return QvConverter->ConvertFromDB(value); }
Variant TfrmBaseGene::ServerConvert(const Variant& value) const { return QvConverter->ConvertToDB(value); }
Variant TfrmBaseGene::InterfaceConvert(const Variant& value) const { return QvConverter->ConvertForUI(value); }

}  // namespace qv
