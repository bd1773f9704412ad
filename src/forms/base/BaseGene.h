#pragma once
// TfrmBaseGene: the generic condition form every report form derives from.
// It owns what they all share: the page control of conditions with the
// system page (the print date), OK and Cancel, the panel of stored condition
// schemes, the application server session, the registries of date,
// year-month and required fields, and the hook operations through which
// descendants add their conditions, their part of the job request and their
// actions. Descendants override a hook and call the inherited version.
//
// The form's state is kept in public fields named as the report forms and
// the controller know them; the implementation is split by concern:
//   BaseGene.cpp         creation, initialisation, request, condition intake, showing
//   BaseGeneKeys.cpp     keyboard: Escape, F1, F2, Ctrl+Alt+V, page keys, Enter
//   BaseGeneFields.cpp   date, year-month and required fields, colours
//   BaseGeneSession.cpp  server session, services, system parameters, messages,
//                        validator, counter, rights, date picker and phrases

#include <cstdint>
#include <string>
#include <vector>

#include "forms/base/QVForm.h"
#include "platform/core/Method.h"
#include "platform/core/Variant.h"

namespace qv {

class TBitBtn;
class TClientDataSet;
class TComboBox;
class TDBLabel;
class TExtPageControl;
class TF2Button;
class TImageList;
class TLabel;
class TListView;
class TMaskEdit;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TSocketConnection;
class TSplitter;
class TStringList;
class TTabSheet;
class TToolBar;
class TToolButton;
class TControl;
class TWinControl;

class TfrmBaseGene : public TQVForm {
  QV_OBJECT(TfrmBaseGene, TQVForm)

  // Builds the components of the form (inside a loading bracket) and
  // installs its published handlers. Make forms with CreateForm<T>.
  explicit TfrmBaseGene(TComponent* owner);
  ~TfrmBaseGene() override;

  // ---- components ----
  TExtPageControl* pgOption = nullptr;
  TTabSheet* tsOption1 = nullptr;  // "基本选项": descendants' conditions
  TTabSheet* tsOption2 = nullptr;  // "系统选项": the system page
  TDBLabel* lblToday = nullptr;
  TMaskEdit* edPrintDate = nullptr;
  TF2Button* btnPrintDate = nullptr;
  TPanel* Panel1 = nullptr;
  TBitBtn* btnOk = nullptr;
  TBitBtn* btnCancel = nullptr;
  // The condition scheme panel.
  TPanel* pnlCondition = nullptr;
  TLabel* lblCondition = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* btnInsert = nullptr;
  TToolButton* btnOpen = nullptr;
  TToolButton* btnDelete = nullptr;
  TToolButton* ToolButton1 = nullptr;
  TListView* lstCondition = nullptr;
  TSplitter* Splitter1 = nullptr;
  TPopupMenu* muOperation = nullptr;
  TMenuItem* mnList = nullptr;
  TImageList* ImageList1 = nullptr;
  TImageList* ImageList2 = nullptr;
  TClientDataSet* ClientDataSet1 = nullptr;  // provider "pvdConSave"
  TSocketConnection* MainMidas = nullptr;    // the application server connection

  // ---- published properties ----
  TNotifyEvent OnDateFieldEnter;  // set at creation to the field handlers
  TNotifyEvent OnDateFieldExit;
  TNotifyEvent OnRequiredExit;
  bool WantLog = false;  // from the program master record

  // ---- state ----
  Variant HostObject;  // the host's service object
  std::string UserID, CompanyID, DbName;
  int HostWindow = 0;  // repainted whenever the form moves or is resized
  Variant HostExtra;   // parameter 4, kept, not interpreted
  std::string ModulePath;
  std::string VersionStamp;
  std::string ProgramID;     // upper case, "PQLR52"
  std::string ServerProgID;  // ProgramID + "S.Class1"
  std::string ReportKind;    // "R" unless a descendant changes it
  std::string Title;
  std::string ProgramName;
  std::string CompanyTag;  // system parameter "QVX002", in the caption
  int ProductID = 3;
  int Flags = 0;  // 4 asks for the lookup-window service
  int EnvCount = 0;
  int OptionCount = 0;
  int TrailingOptionCount = 1;
  Variant JobRequest;
  Variant ConditionData;
  bool ByName = true;
  bool AutoRun = false;
  bool Interactive = true;
  int ResultCode = 0;
  Variant ResultValue;
  std::vector<TControl*> PageEndControls;  // Enter after these moves to the next page
  TControl* LastFocused = nullptr;
  bool SuppressNonErrorDialogs = false;
  bool CheckFailed = false;
  bool SysPageLaidOut = false;
  std::string ErrorCodes, ErrorTexts;  // the running message records
  Variant AppServer;  // the session object
  bool LocalServer = false;

  // Services of the host, and what the session learnt.
  Variant Counter, Validator, LookupWindow;
  int DateTypeCache = 0;
  std::string DateSepCache;
  std::string RightsLetters;
  bool RightsLetter7 = false, RightsLetter8 = false;
  std::string RightsExtra;
  std::string Restriction;
  std::vector<std::string> RightsFields;  // fields 1 to 6 of the rights record's first text
  std::string RightsText2;                // rights record element 2

  // Registries of the field checks: comma-separated names, and for
  // required fields Name;Check;Part entries.
  std::string DateFields, YearMonthFields, RequiredFields;
  // A handler a control had before the form hooked it, by "<name>.<event>".
  // Entries are only appended; a lookup takes the first one with its name.
  struct SavedEvent {
    std::string Name;
    TMethod Handler;
  };
  std::vector<SavedEvent> SavedFieldEvents, SavedClickEvents;
  TStringList* SysParams = nullptr;     // name=value
  TStringList* Colors = nullptr;        // name=colour at initialisation
  TStringList* DynamicDates = nullptr;  // date shifts of periodic jobs
  std::string PropertyList;             // properties saved in schemes

  // ---- hook operations, in order ----
  virtual void LayoutSystemPage();
  virtual bool BuildRequest();
  virtual void DefineProgram();
  virtual void FillPhrase(TControl* control);
  virtual void SetRequiredFields(const std::string& names);
  virtual bool RunServerModule(const std::string& a1, const std::string& a2, const std::string& a3, int a4,
                               const Variant& a5, const std::string& a6, const std::string& a7,
                               const std::string& a8, const std::string& a9, const std::string& a10,
                               const std::string& a11);
  virtual void PrepareDataSets();
  virtual void InitServices();
  virtual bool Initialize(const Variant& params);
  virtual bool FillOptionValues(Variant& values, int start);
  virtual bool LoadConditionValues(const Variant& values);
  virtual bool FillEnvironment(Variant& env, int count);
  virtual bool FillOptionCaptions(Variant& captions, int start);
  virtual void RightsLoaded();
  virtual void GetLookupData(const std::string& tableCode, const std::string& kind, Variant& result,
                             bool fromList, const std::string& text, const Variant& keys);
  virtual void PrepareConnection(TSocketConnection* connection);
  virtual bool SaveScheme(const std::string& propertyList, const std::string& schemeName, bool overwrite);
  virtual bool LoadControlValues(const std::string& propertyList, const std::string& values);
  virtual bool LoadSchemeList();
  virtual bool SchemeOpened();
  virtual bool RunMode(int mode);
  virtual void BeforeValueLoad(TComponent* component, const std::string& value);
  virtual void AfterValueLoad(TComponent* component, const std::string& value);
  // Further overridable operations.
  virtual void LookupField(Word key, TControl* control);
  virtual void GetServices();
  virtual void GetLookupWindowService();

  // ---- published handlers ----
  void FormCreate(TObject* sender) override;
  void FormShow(TObject* sender) override;
  virtual void FormClose(TObject* sender, TCloseAction& action);
  virtual void FormDestroy(TObject* sender);
  virtual void FormKeyDown(TObject* sender, Word& key, TShiftState shift);
  virtual void FormKeyPress(TObject* sender, std::string& key);
  virtual void FormResize(TObject* sender);
  virtual void btnOkClick(TObject* sender);
  virtual void btnCancelClick(TObject* sender);
  virtual void pgOptionChange(TObject* sender);
  virtual void pgOptionChanging(TObject* sender, bool& allowChange);
  virtual void tsOption2Show(TObject* sender);
  // The field-event handlers installed in OnDateFieldEnter, OnDateFieldExit
  // and OnRequiredExit.
  void DateFieldEnter(TObject* sender);
  void DateFieldExit(TObject* sender);
  void RequiredExit(TObject* sender);

  // ---- for the controller ----
  // Records the plug-in's file; outside a library (a stand-alone program)
  // the form initialises itself with ["796", "DOZoro60", "DOZoro60"].
  void SetModulePath(const std::string& path);
  // The condition intake: element 1 of the pair is the condition structure.
  void ReceiveCondition(const Variant& pair);

  // ---- for descendants ----
  // True when ModulePath names a shared library (".so", any case).
  bool IsLibraryModule() const;
  void SetOptionCount(int count);
  void SetProgram(const std::string& id);
  void SetTitle(const std::string& text);
  void SetHostParams(const Variant& params);

  // ---- field checks ----
  void SetDateFields(const std::string& names);
  void SetYearMonthFields(const std::string& names);
  bool CheckDateField(TControl* control, bool entering);
  bool CheckYearMonthField(TControl* control, bool entering);
  // True when a required field of the entries is blank (it is then shown).
  bool CheckRequired(const std::string& entries);
  std::string DisplayDateToKey(const std::string& text) const;
  std::string YearMonthToKey(const std::string& text) const;
  bool IsBlank(TComponent* component) const;
  void RecordColors(TWinControl* container);
  void RestoreColors(TWinControl* container);
  void FireExit(TControl* control);
  // Edit masks and empty templates of the date type and separator.
  std::string DateMask();
  std::string YearMonthMask();
  std::string DateTemplate();
  std::string YearMonthTemplate();

  // ---- session ----
  bool ConfigureConnection(TSocketConnection* connection);
  bool OpenSession();

  // ---- system parameters ----
  // An empty name (re)loads every parameter; otherwise one parameter.
  void GetSysParam(const std::string& name, std::string& value);
  std::string SysParam(const std::string& name);
  int DateType();
  std::string DateSeparator();

  // ---- messages ----
  void ReportMessage(const std::string& code);
  void RecordText(const std::string& text);
  void GetMessageText(const std::string& type, const std::string& number, std::string& text);
  TModalResult ShowMessageCode(const std::string& type, const std::string& number, TMsgDlgButtons buttons,
                               const std::vector<Variant>& params);
  TModalResult ShowMessageText(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

  // ---- validator, counter, rights ----
  bool QueryTable(const std::string& tableCode, const std::string& kind, bool query, Variant& result,
                  const Variant& keys);
  bool ValidateValue(const Variant& tableCode, const Variant& kind, const Variant& keys,
                     const std::string& severity, int index, Variant& value);
  void GetCounter(const std::string& name, Variant& data, Variant& result);
  void LoadRights(const Variant& record);

  // ---- lookups ----
  void PickDate(const std::string& text, std::string& result);

  // ---- conversions ----
  Variant DisplayConvert(const Variant& value) const;    // server text for display
  Variant ServerConvert(const Variant& value) const;     // display text for the server
  Variant InterfaceConvert(const Variant& value) const;  // built-in text for the interface

 protected:
  void WndProc(TMessage& message) override;
  void FocusChanged(TWinControl* control) override;

 private:
  // BaseGene.cpp
  bool InitializeFrom(const Variant& params, bool& closeRequested);
  void CreateComponents();
  void InstallHandlers();
  void RepaintHostWindow();
  bool CheckRequestArray(const Variant& array, int size, const char* labelKey, const char* defaultLabel);
  bool CheckConditionNames(const Variant& values);
  void FocusFirstControl(TTabSheet* page);
  void ResetForInitialize();
  bool BelongsToProgram() const;
  bool ConnectSession();

  // BaseGeneKeys.cpp
  void ShowHelp();
  void EnterPressed(std::string& key);
  void NextPage(bool goForward);

  // BaseGeneFields.cpp
  void HookFields(const std::string& names);
  void UnhookFields(const std::string& names);
  void HookActionButtons();
  void UnhookActionButtons();
  void RunFieldEventChain(TWinControl* control, const std::string& event);
  TMethod FirstSavedHandler(const std::vector<SavedEvent>& saved, const std::string& name) const;

  // BaseGeneSession.cpp
  void LookupProgramMaster();
  void LoadSysParams();
  void AfterDialog(TMsgDlgType type);
};

// Makes a condition form of the class that the plug-in registered.
using TfrmBaseGeneClass = TfrmBaseGene* (*)(TComponent* owner);

}  // namespace qv
