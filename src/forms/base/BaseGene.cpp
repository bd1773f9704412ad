#include "forms/base/BaseGene.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/SelectPnl.h"
#include "localization/CodeConverter.h"
#include "platform/automation/Automation.h"
#include "platform/automation/SocketConnection.h"
#include "platform/core/AsciiText.h"
#include "platform/core/Clock.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/NumberText.h"
#include "platform/core/Strings.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/DB.h"
#include "platform/system/DynamicLibrary.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/controls/ListView.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Menus.h"
#include "platform/ui/controls/Panel.h"
#include "platform/ui/controls/Splitter.h"
#include "platform/ui/controls/ToolBar.h"
#include "platform/ui/graphics/ImageList.h"
#include "services/LibStrs.h"

namespace qv {

const TClass& TfrmBaseGene::StaticClass() {
  static const TClass cls =
      ClassBuilder<TfrmBaseGene>("TfrmBaseGene", &TQVForm::StaticClass())
          .Event("OnDateFieldEnter", &TfrmBaseGene::OnDateFieldEnter)
          .Event("OnDateFieldExit", &TfrmBaseGene::OnDateFieldExit)
          .Event("OnRequiredExit", &TfrmBaseGene::OnRequiredExit)
          .Boolean("WantLog", &TfrmBaseGene::WantLog, &TfrmBaseGene::WantLog)
          .Method<&TfrmBaseGene::FormCreate>("FormCreate")
          .Method<&TfrmBaseGene::FormShow>("FormShow")
          .Method<&TfrmBaseGene::FormClose>("FormClose")
          .Method<&TfrmBaseGene::FormDestroy>("FormDestroy")
          .Method<&TfrmBaseGene::FormKeyDown>("FormKeyDown")
          .Method<&TfrmBaseGene::FormKeyPress>("FormKeyPress")
          .Method<&TfrmBaseGene::FormResize>("FormResize")
          .Method<&TfrmBaseGene::btnOkClick>("btnOkClick")
          .Method<&TfrmBaseGene::btnCancelClick>("btnCancelClick")
          .Method<&TfrmBaseGene::pgOptionChange>("pgOptionChange")
          .Method<&TfrmBaseGene::pgOptionChanging>("pgOptionChanging")
          .Method<&TfrmBaseGene::tsOption2Show>("tsOption2Show")
          .Method<&TfrmBaseGene::DateFieldEnter>("DateFieldEnter")
          .Method<&TfrmBaseGene::DateFieldExit>("DateFieldExit")
          .Method<&TfrmBaseGene::RequiredExit>("RequiredExit");
  return cls;
}

TfrmBaseGene::TfrmBaseGene(TComponent* owner) : TQVForm(owner) {
  LoadingScope loading(*this);
  SetName("frmBaseGene");
  SetCaption("frmBaseGene");
  SetBounds(0, 0, 509, 355);
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  CreateComponents();
  InstallHandlers();
}

TfrmBaseGene::~TfrmBaseGene() {
  // FormDestroy frees these; a form whose destroy handler was replaced
  // without being called still gives them back.
  delete SysParams;
  delete Colors;
  delete DynamicDates;
}

namespace {

template <class T>
T* Make(TComponent* owner, const char* name, TWinControl* parent) {
  T* component = new T(owner);
  component->SetName(name);
  if constexpr (std::is_base_of_v<TControl, T>) {
    if (parent) component->SetParent(parent);
  }
  return component;
}

}  // namespace

// The components of the form, as its resource describes them.
void TfrmBaseGene::CreateComponents() {
  pgOption = Make<TExtPageControl>(this, "pgOption", this);
  pgOption->SetAlign(alClient);
  pgOption->SetHint("请输入选项条件");
  tsOption1 = Make<TTabSheet>(this, "tsOption1", nullptr);
  tsOption1->SetPageControl(pgOption);
  tsOption1->SetCaption("基本选项");
  tsOption2 = Make<TTabSheet>(this, "tsOption2", nullptr);
  tsOption2->SetPageControl(pgOption);
  tsOption2->SetCaption("系统选项");

  edPrintDate = Make<TMaskEdit>(this, "edPrintDate", tsOption2);
  edPrintDate->SetHint("[F2]日期快手");
  lblToday = Make<TDBLabel>(this, "lblToday", tsOption2);
  lblToday->SetCaption("制表日期");
  lblToday->SetGap(4);
  lblToday->SetPos(psLeft);
  lblToday->SetAutoCaption(true);
  lblToday->SetFocusControl(edPrintDate);
  lblToday->SetAutoAlign(true);
  btnPrintDate = Make<TF2Button>(this, "btnPrintDate", tsOption2);
  btnPrintDate->SetHint("日期快手");
  btnPrintDate->SetFlat(true);
  btnPrintDate->SetGlyphIndex(9);
  btnPrintDate->SetGap(2);
  btnPrintDate->SetF2Control(edPrintDate);
  btnPrintDate->SetAutoAlign(true);

  Panel1 = Make<TPanel>(this, "Panel1", this);
  Panel1->SetAlign(alBottom);
  Panel1->SetHeight(43);
  btnOk = Make<TBitBtn>(this, "btnOk", Panel1);
  btnOk->SetCaption("确定");
  btnOk->SetHint("确定");
  btnCancel = Make<TBitBtn>(this, "btnCancel", Panel1);
  btnCancel->SetCaption("取消");
  btnCancel->SetHint("取消");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);

  pnlCondition = Make<TPanel>(this, "pnlCondition", this);
  pnlCondition->SetAlign(alRight);
  lblCondition = Make<TLabel>(this, "lblCondition", pnlCondition);
  ToolBar1 = Make<TToolBar>(this, "ToolBar1", pnlCondition);
  btnInsert = Make<TToolButton>(this, "btnInsert", ToolBar1);
  btnOpen = Make<TToolButton>(this, "btnOpen", ToolBar1);
  btnDelete = Make<TToolButton>(this, "btnDelete", ToolBar1);
  ToolButton1 = Make<TToolButton>(this, "ToolButton1", ToolBar1);
  lstCondition = Make<TListView>(this, "lstCondition", pnlCondition);
  lstCondition->SetAlign(alClient);
  Splitter1 = Make<TSplitter>(this, "Splitter1", this);
  Splitter1->SetAlign(alRight);
  muOperation = Make<TPopupMenu>(this, "muOperation", nullptr);
  mnList = Make<TMenuItem>(this, "mnList", nullptr);
  ImageList1 = Make<TImageList>(this, "ImageList1", nullptr);
  ImageList2 = Make<TImageList>(this, "ImageList2", nullptr);
  ClientDataSet1 = Make<TClientDataSet>(this, "ClientDataSet1", nullptr);
  ClientDataSet1->SetProviderName("pvdConSave");
  MainMidas = Make<TSocketConnection>(this, "MainMidas", nullptr);
  // No server until the client configuration names one: without it opening
  // the session fails rather than falling back to an in-process server.
  MainMidas->SetAddress("");
  ClientDataSet1->SetRemoteServer(MainMidas);
  SetActiveControl(pgOption);
}

// The published handlers the form's resource assigns.
void TfrmBaseGene::InstallHandlers() {
  OnClose = MethodOf<&TfrmBaseGene::FormClose>(this);
  OnDestroy = MethodOf<&TfrmBaseGene::FormDestroy>(this);
  OnKeyDown = MethodOf<&TfrmBaseGene::FormKeyDown>(this);
  OnKeyPress = MethodOf<&TfrmBaseGene::FormKeyPress>(this);
  OnResize = MethodOf<&TfrmBaseGene::FormResize>(this);
  btnOk->OnClick = MethodOf<&TfrmBaseGene::btnOkClick>(this);
  btnCancel->OnClick = MethodOf<&TfrmBaseGene::btnCancelClick>(this);
  pgOption->OnChange = MethodOf<&TfrmBaseGene::pgOptionChange>(this);
  pgOption->OnChanging = MethodOf<&TfrmBaseGene::pgOptionChanging>(this);
  tsOption2->OnShow = MethodOf<&TfrmBaseGene::tsOption2Show>(this);
}

// ---- creation ----

void TfrmBaseGene::FormCreate(TObject* sender) {
  TQVForm::FormCreate(sender);
  // A traditional-Chinese system writes dates with the locale's separator.
  if (SystemCodePage() == "950") FormatSettings().DateSeparator = LocaleFormatSettings().DateSeparator;
  // Hints of the conditions stay up as long as they are read.
  Application().SetHintHidePause(500000);
  // The form is top-level already: there is no parent window to clear.
  VersionStamp = "870401-0.00.00";
  CompanyID.clear();
  ProgramID.clear();
  ProgramName.clear();
  RequiredFields.clear();
  DateFields.clear();
  YearMonthFields.clear();
  OnDateFieldEnter = MethodOf<&TfrmBaseGene::DateFieldEnter>(this);
  OnDateFieldExit = MethodOf<&TfrmBaseGene::DateFieldExit>(this);
  OnRequiredExit = MethodOf<&TfrmBaseGene::RequiredExit>(this);
  CheckFailed = false;
  SysPageLaidOut = false;
  LastFocused = this;
  SuppressNonErrorDialogs = false;
  Interactive = true;
  PrepareDataSets();
  if (!DynamicDates) DynamicDates = new TStringList();
  for (TComponent* component : ComponentList())
    if (HasProperty(component, "ImeName")) SetStringProperty(component, "ImeName", "");
  // Every component exists once the creation handler runs (descendants build
  // theirs in their constructors), so this is "after construction".
  for (TComponent* component : ComponentList())
    if (auto* button = ObjectAs<TF2Button>(component)) button->SetFlat(true);
}

// Display labels of the form's data sets in the interface's script. The
// platform's fields carry no text handlers, so values are converted where
// they are read and written (the scheme panel does so).
void TfrmBaseGene::PrepareDataSets() {
  for (TComponent* component : ComponentList()) {
    auto* dataSet = ObjectAs<TClientDataSet>(component);
    if (!dataSet) continue;
    for (int i = 0; i < dataSet->Fields().Count(); ++i) {
      TField* field = dataSet->Fields()[i];
      field->SetDisplayLabel(InterfaceConvert(Variant(field->DisplayLabel())).ToString());
    }
  }
}

// ---- initialisation ----

bool TfrmBaseGene::Initialize(const Variant& params) {
  if (!CompanyID.empty()) return false;  // the form initialises once
  bool closeRequested = false;
  const bool initialized = InitializeFrom(params, closeRequested);
  // The close request is posted last: a message dialog shown on the way runs
  // the message loop, which would free the form while it is still initialising.
  if (closeRequested) Release();
  return initialized;
}

bool TfrmBaseGene::InitializeFrom(const Variant& params, bool& closeRequested) {
  try {
    ResetForInitialize();
    const int high = params.HighBound();
    HostWindow = high >= 3 ? params[3].ToInt() : 0;
    if (high >= 4) {
      HostExtra = params[4];
    } else {
      ReportMessage("E;000038");
      closeRequested = true;
    }
    Hide();
    SetHostParams(params);
    InitServices();
    if (!BelongsToProgram()) {
      ReportMessage("E;000036");
      closeRequested = true;
      return true;
    }
    if (!ConnectSession()) {
      ReportMessage("E;000006");
      closeRequested = true;
      return false;
    }
  } catch (const Exception& e) {
    RecordText(e.Message());
    return false;
  } catch (const std::exception& e) {
    RecordText(e.what());
    return false;
  }
  return true;
}

// The lists, services and records a fresh initialisation starts from.
void TfrmBaseGene::ResetForInitialize() {
  delete SysParams;
  SysParams = new TStringList();
  delete Colors;
  Colors = new TStringList();
  PageEndControls.clear();
  SavedFieldEvents.clear();
  SavedClickEvents.clear();
  Counter = Variant();
  Validator = Variant();
  LookupWindow = Variant();
  TrailingOptionCount = 1;
  RecordText("");
  edPrintDate->SetText("");
  ConditionData = Variant::Null();
  ByName = true;
  AutoRun = false;
}

// Characters 4 to 6 of the form's name are the first three of the program's
// identifier: the form frmPQLR52 belongs to the program PQLR52.
bool TfrmBaseGene::BelongsToProgram() const {
  const std::string formPart = Name().size() > 3 ? Name().substr(3, 3) : "";
  return SameTextAscii(formPart, ProgramID.substr(0, 3));
}

// Configures MainMidas from the client configuration, lets the descendant
// name the server object and opens the session when one is named.
bool TfrmBaseGene::ConnectSession() {
  // The configuration step takes any message on record as its own failure;
  // one reported earlier in this initialisation (the missing fifth
  // parameter) is no such failure, so it is set aside and kept.
  const std::string earlierCodes = std::exchange(ErrorCodes, {});
  const std::string earlierTexts = std::exchange(ErrorTexts, {});
  MainMidas->Close();
  bool connected = ConfigureConnection(MainMidas);
  if (connected) {
    PrepareConnection(MainMidas);
    connected = MainMidas->ServerName().empty() || OpenSession();
  }
  ErrorCodes = earlierCodes + ErrorCodes;
  ErrorTexts = earlierTexts + ErrorTexts;
  return connected;
}

void TfrmBaseGene::InitServices() {
  RecordColors(this);
  GetServices();
  DispatchOf(HostObject, "VersionType")->Get("VersionType");  // a host that cannot answer ends the initialisation
  try {
    ProductID = DispatchOf(HostObject, "ProductID")->Get("ProductID").ToInt();
  } catch (const Exception&) {
    ProductID = 3;
  }
  DefineProgram();
  GetLookupWindowService();
}

namespace {

// The program identifier in a module's file name: the name without its
// extension and the one-letter suffix of a library ("PQLR52C.so") or the
// two letters of a program; never fewer than the first six characters.
std::string ProgramIdentifierOf(const std::string& modulePath, bool library) {
  const std::string fileName = ExtractFileName(modulePath);
  const std::size_t dot = fileName.rfind('.');
  const std::size_t stem = dot == std::string::npos ? fileName.size() : dot;
  const std::size_t suffix = library ? 1 : 2;
  const std::size_t length = stem > suffix ? stem - suffix : 0;
  return fileName.substr(0, std::max<std::size_t>(length, 6));
}

}  // namespace

void TfrmBaseGene::DefineProgram() {
  const std::string identifier = ProgramIdentifierOf(ModulePath, IsLibraryModule());
  SetDateFields("edPrintDate");
  ReportKind = "R";
  EnvCount = 9;
  Flags = 0;
  SetProgram(identifier);
  SetOptionCount(0);
}

// ---- for the controller and descendants ----

void TfrmBaseGene::SetModulePath(const std::string& path) {
  ModulePath = path;
  // Outside a library the form runs in a stand-alone program that has no
  // shell to initialise it.
  if (!IsLibraryModule()) Initialize(Variant::ArrayOf({"796", "DOZoro60", "DOZoro60"}));
}

bool TfrmBaseGene::IsLibraryModule() const { return ::qv::IsLibraryModule(ModulePath); }

void TfrmBaseGene::SetOptionCount(int count) {
  OptionCount = count + (TrailingOptionCount < OptionCount ? 0 : TrailingOptionCount);
}

void TfrmBaseGene::SetProgram(const std::string& id) {
  ProgramID = AsciiUpper(id);
  ServerProgID = ProgramID + "S.Class1";
  LookupProgramMaster();
}

void TfrmBaseGene::SetTitle(const std::string& text) {
  Title = text;
  if (!IsLibraryModule()) Title += LocalText("TfrmBaseGene", "sExeVer", "[您现在运行的是Exe版本!]");
  SetCaption(Title + "[" + CompanyTag + "]");
}

void TfrmBaseGene::SetHostParams(const Variant& params) {
  UserID = params[0].ToString();
  CompanyID = params[1].ToString();
  DbName = params[2].ToString();
}

// ---- the system page ----

void TfrmBaseGene::LayoutSystemPage() {
  tsOption2->SetParentFont(true);
  tsOption2->Font().SetSize(9);
  if (Height() < 110) SetHeight(110);
  if (Width() < 315) SetWidth(315);
  lblToday->SetBounds(8, 12, lblToday->Width(), lblToday->Height());
  lblToday->SetAutoSize(true);
  edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
  btnPrintDate->SetAutoAlign(false);
  btnPrintDate->SetAutoAlign(true);
}

void TfrmBaseGene::tsOption2Show(TObject*) {
  if (SysPageLaidOut) return;
  LayoutSystemPage();
  SysPageLaidOut = true;
}

// ---- the request ----

namespace {

Variant NullArray(int high) {
  Variant array = Variant::Array(1, high);
  for (Variant& element : array.ArrayMut().Elements()) element = Variant::Null();
  return array;
}

}  // namespace

bool TfrmBaseGene::BuildRequest() {
  const int envCount = EnvCount, optionCount = OptionCount, start = OptionCount - TrailingOptionCount;
  if (envCount <= 0 || (optionCount <= 0 && !AutoRun)) {
    ShowMessageCode("I", "000003", 0, {Variant("")});
    return false;
  }
  Variant env = NullArray(envCount), captions = NullArray(optionCount), values = NullArray(optionCount);
  if (!FillOptionCaptions(captions, start) || !CheckRequestArray(captions, optionCount, "sOption", "选择条件文字"))
    return false;
  if (!FillOptionValues(values, start) || !CheckRequestArray(values, optionCount, "sOptionInf", "选择条件信息"))
    return false;
  if (!FillEnvironment(env, envCount) || !CheckRequestArray(env, envCount, "sEnvSetting", "环境设置"))
    return false;
  JobRequest = Variant::ArrayOf({env, ServerConvert(captions), ServerConvert(values)});
  return true;
}

// An array of the request must have exactly size entries (1 to size), none
// of them left unset; the first fault is shown naming the array by its
// localized label (looked up only then: building a request stays cheap).
bool TfrmBaseGene::CheckRequestArray(const Variant& array, int size, const char* labelKey,
                                     const char* defaultLabel) {
  const auto fault = [&](const char* number, int at) {
    const std::string label = LocalText("TfrmBaseGene", labelKey, defaultLabel);
    ShowMessageCode("W", number, 0, {Variant(label), Variant(size), Variant(at)});
    return false;
  };
  const int high = array.IsArray() ? array.HighBound() : -1;
  if (high != size) return fault("000002", high);
  for (int i = 1; i <= size; ++i)
    if (IsEmptyOrNull(array[i])) return fault("000003", i);
  return true;
}

bool TfrmBaseGene::FillEnvironment(Variant& env, int) {
  try {
    env[1] = AsciiUpper(ProgramID);
    env[2] = EnvCount;
    env[3] = OptionCount;
    env[4] = CompanyID;
    env[5] = UserID;
    env[6] = DbName;
    env[7] = Variant::FromDate(Clock::Now());
    env[8] = ServerProgID;
    env[9] = AsciiUpper(ReportKind);
  } catch (const Exception&) {
    ReportMessage("E;000030");
    return false;
  }
  return true;
}

bool TfrmBaseGene::FillOptionCaptions(Variant& captions, int start) {
  try {
    captions[start + TrailingOptionCount] = Variant::ArrayOf({lblToday->Caption(), edPrintDate->Name()});
  } catch (const Exception&) {
    std::string text;
    GetMessageText("I", "000011", text);
    ReportMessage("E;000030;" + text);
    return false;
  }
  return true;
}

bool TfrmBaseGene::FillOptionValues(Variant& values, int start) {
  try {
    const std::string text(Trim(edPrintDate->Text()));
    const std::string separator = DateSeparator();
    const bool incomplete = text.empty() || (!separator.empty() && (text.starts_with(separator) ||
                                                                     text.ends_with(separator)));
    values[start + TrailingOptionCount] = incomplete ? std::string() : DisplayDateToKey(text);
  } catch (const Exception&) {
    ReportMessage("E;000030");
    return false;
  }
  return true;
}

// ---- hooks that descendants fill ----

bool TfrmBaseGene::LoadConditionValues(const Variant&) { return false; }
void TfrmBaseGene::RightsLoaded() {}
void TfrmBaseGene::PrepareConnection(TSocketConnection*) {}
bool TfrmBaseGene::SchemeOpened() { return true; }
bool TfrmBaseGene::RunMode(int) { return true; }
void TfrmBaseGene::BeforeValueLoad(TComponent*, const std::string&) {}
void TfrmBaseGene::AfterValueLoad(TComponent*, const std::string&) {}

// Storing and restoring condition schemes and control values comes with the
// scheme panel; until then nothing is stored or restored.
bool TfrmBaseGene::SaveScheme(const std::string&, const std::string&, bool) { return false; }
bool TfrmBaseGene::LoadControlValues(const std::string&, const std::string&) { return false; }
bool TfrmBaseGene::LoadSchemeList() { return false; }

void TfrmBaseGene::LookupField(Word, TControl* control) {
  if (auto* window = ObjectAs<TWinControl>(control); window && window->CanFocus()) window->SetFocus();
  if (!control || control != edPrintDate) return;
  std::string picked;
  PickDate(edPrintDate->Text(), picked);
  if (!picked.empty()) edPrintDate->SetText(picked);  // a cancelled picker leaves the date
}

// ---- showing and closing ----

void TfrmBaseGene::FormShow(TObject* sender) {
  TQVForm::FormShow(sender);
  SetCaption(Title + "[" + CompanyTag + "]");
  if (pgOption->PageCount() > 0) pgOption->SetActivePage(pgOption->Pages(0));
  pgOptionChange(pgOption);
  ConvertFormTexts();
  LoadSchemeList();
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& action) { action = caFree; }

void TfrmBaseGene::FormDestroy(TObject*) {
  delete SysParams;
  SysParams = nullptr;
  delete Colors;
  Colors = nullptr;
  PageEndControls.clear();
  SavedFieldEvents.clear();
  SavedClickEvents.clear();
  Counter = Variant();
  Validator = Variant();
  LookupWindow = Variant();
  if (!LocalServer) MainMidas->Close();
  AppServer = Variant();
  HostObject = Variant();
  delete DynamicDates;
  DynamicDates = nullptr;
}

void TfrmBaseGene::FormResize(TObject*) { RepaintHostWindow(); }

// The job form supplies the confirmation; the base form has nothing to confirm.
void TfrmBaseGene::btnOkClick(TObject*) {}

void TfrmBaseGene::btnCancelClick(TObject*) { Close(); }

// ---- pages ----

void TfrmBaseGene::pgOptionChange(TObject*) {
  if (TTabSheet* page = pgOption->ActivePage()) FocusFirstControl(page);
}

void TfrmBaseGene::pgOptionChanging(TObject*, bool& allowChange) {
  struct Quiet {
    bool& flag;
    explicit Quiet(bool& f) : flag(f) { flag = true; }
    ~Quiet() { flag = false; }
  } quiet(SuppressNonErrorDialogs);
  if (TWinControl* control = ActiveControl())
    FireExit(control);
  else
    CheckFailed = false;
  allowChange = !CheckFailed;
}

namespace {

// Visible and enabled together with every container up to the page: an edit
// inside a disabled or hidden panel cannot take the focus, whether or not the
// form is showing yet.
bool FocusableWithin(const TControl& control, const TWinControl& page) {
  for (const TControl* c = &control; c && c != &page; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

}  // namespace

// Focuses the page's focusable window control of the lowest tab order; a
// selection panel takes it in the part it shows. A form not yet showing
// remembers it as its active control.
void TfrmBaseGene::FocusFirstControl(TTabSheet* page) {
  for (TWinControl* control : page->TabOrderList()) {
    if (!FocusableWithin(*control, *page)) continue;
    TWinControl* target = control;
    if (auto* panel = ObjectAs<TSelectPanel>(control))
      target = panel->IsRangeShown() ? static_cast<TWinControl*>(panel->edBegin) : panel->ListBox;
    if (target->CanFocus())
      target->SetFocus();
    else
      SetActiveControl(target);
    return;
  }
}

// ---- condition intake ----

void TfrmBaseGene::ReceiveCondition(const Variant& pair) {
  const Variant conditions = pair.IsArray() && pair.HighBound() >= 1 ? pair[1] : Variant();
  ConditionData = conditions;
  if (!conditions.IsArray() || conditions.HighBound() < conditions.LowBound()) return;
  const int mode = conditions[0].ToInt();
  Interactive = mode == 0 || mode == 1;
  bool loaded = false;
  AutoRun = false;
  if (conditions.HighBound() >= 1) {
    const Variant& entry = conditions[1];
    if (entry.IsArray() && entry.HighBound() >= 1) {
      ByName = entry[0].ToBool();
      const Variant& values = entry[1];
      if (values.IsArray() && values.HighBound() >= values.LowBound())
        loaded = ByName ? CheckConditionNames(values) : LoadConditionValues(values);
      AutoRun = loaded && mode != 0;
    }
  }
  if (!TextsConverted()) {
    ConvertFormTexts();
    if (SystemCodePage() == "950") SetTitle(QvConverter->Convert(2, Variant(Title)).ToString());
  }
  if (mode > 2 && loaded)
    RunMode(mode);
  else if (AutoRun)
    btnOk->Click();
}

namespace {

bool CanTakeConditionValue(TComponent* component) {
  return ObjectAs<TSelectPanel>(component) || ObjectAs<TCustomComboBox>(component) ||
         HasProperty(component, "ItemIndex") || HasProperty(component, "Checked") ||
         HasProperty(component, "Text") || HasProperty(component, "Lines");
}

}  // namespace

// Values by name are [Items, Data], element 1 of each item naming a
// component: every named component must exist and be able to hold a value.
bool TfrmBaseGene::CheckConditionNames(const Variant& values) {
  bool named = values.HighBound() >= values.LowBound() && values[values.LowBound()].IsArray();
  if (named) {
    const Variant& items = values[values.LowBound()];
    for (int i = items.LowBound(); named && i <= items.HighBound(); ++i) {
      const Variant& item = items[i];
      TComponent* component = item.IsArray() && item.HighBound() >= 1 && item[1].IsText()
                                  ? FindComponent(item[1].TextRef())
                                  : nullptr;
      named = component && CanTakeConditionValue(component);
    }
  }
  ReportMessage(named ? "" : "W;000014");
  return named;
}

// ---- messages ----

namespace {
constexpr unsigned kPaintMessage = 0x000F;
}  // namespace

// The host's window is repainted at once; a handle the application does not
// know is left alone.
void TfrmBaseGene::RepaintHostWindow() {
  if (HostWindow != 0) Application().SendMessage(HostWindow, kPaintMessage);
}

void TfrmBaseGene::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LOOKUPREQUEST:
      LookupField(VK_F2, reinterpret_cast<TControl*>(message.LParam));
      return;
    case WM_MOVE:
      TQVForm::WndProc(message);
      RepaintHostWindow();
      return;
    default:
      TQVForm::WndProc(message);  // may free the form (a posted release)
  }
}

void TfrmBaseGene::FocusChanged(TWinControl* control) {
  LastFocused = control;
  TQVForm::FocusChanged(control);
}

}  // namespace qv
