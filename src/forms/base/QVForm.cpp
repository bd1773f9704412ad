#include "forms/base/QVForm.h"

#include <vector>

#include "controls/F2Button.h"
#include "controls/QvEdit.h"
#include "controls/SelectPnl.h"
#include "forms/base/DisabledImage.h"
#include "localization/CodeConverter.h"
#include "localization/LanguageController.h"
#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/graphics/Bitmap.h"
#include "platform/ui/graphics/Graphics.h"
#include "services/AlertLog.h"
#include "services/LibStrs.h"

namespace qv {

namespace {

// ---- the component pass of FormCreate ----

// No input method is forced on any control.
void ClearImeName(TComponent& component) {
  if (HasProperty(&component, "ImeName")) SetStringProperty(&component, "ImeName", "");
}

// An English interface shows every font as Tahoma.
void UseEnglishFont(TComponent& component) {
  const TPropInfo* info = GetPropInfo(&component, "Font");
  if (!info || info->Kind != TTypeKind::Class) return;
  if (auto* font = ObjectAs<TFont>(GetObjectProp(component, *info))) {
    font->SetCharset(GB2312_CHARSET);
    font->SetName("Tahoma");
  }
}

// A button with one picture cell gets its disabled cell. A button without
// a picture keeps one cell: a picture given to it later must not be split.
template <class Button>
void CompleteImages(Button* button) {
  if (!button || button->NumGlyphs() != 1) return;
  auto* glyph = ObjectAs<TBitmap>(button->Glyph());
  if (!glyph || glyph->Empty()) return;
  AddDisabledImage(*glyph);
  button->SetNumGlyphs(2);
}

// The buttons with pictures: speed buttons (the glyph-library buttons
// included), bitmap buttons, the lookup button of a data edit and the
// three list buttons of a selection panel. (The lookup combo box of the
// outside component package has no counterpart on this platform.)
void CompleteButtonImages(TComponent& component) {
  if (auto* edit = ObjectAs<TQvBtnDBEdit>(&component)) CompleteImages(edit->F2Button());
  CompleteImages(ObjectAs<TSpeedButton>(&component));
  CompleteImages(ObjectAs<TBitBtn>(&component));
  if (auto* panel = ObjectAs<TSelectPanel>(&component)) {
    CompleteImages(panel->btnList);
    CompleteImages(panel->btnDelete);
    CompleteImages(panel->btnClear);
  }
}

// ---- language packages ----

// The class names from the first class below stop (or below the platform
// form class) down to target's own class, root-most first.
std::vector<std::string> ClassChain(const TComponent& target, const TClass& stop) {
  std::vector<std::string> names;
  for (const TClass* cls = &target.ClassType(); cls && cls != &stop && cls != &TForm::StaticClass();
       cls = cls->Parent())
    names.insert(names.begin(), cls->Name());
  return names;
}

std::vector<std::string> PackageNames(const TComponent& target, bool wholeChain, const TClass& stop) {
  if (!wholeChain) return {target.ClassName()};
  return ClassChain(target, stop);
}

}  // namespace

const TClass& TQVForm::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQVForm>("TQVForm", &TForm::StaticClass())
          .Object("QvConverter", TCodeConverter::StaticClass(), &TQVForm::QvConverter)
          .Object("LangController", TQvLangController::StaticClass(), &TQVForm::LangController)
          .Method<&TQVForm::FormCreate>("FormCreate")
          .Method<&TQVForm::FormShow>("FormShow");
  return cls;
}

TQVForm::TQVForm(TComponent* owner) : TForm(owner) {
  QvConverter = new TCodeConverter(this, dtClient);
  QvConverter->SetName("QvConverter");
  LangController = new TQvLangController(this);
  LangController->SetName("LangController");

  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  SetShowHint(true);
  Font().SetName("宋体");
  Font().SetHeight(-13);
  SetColor(clBtnFace);

  // Virtual handlers: the method pointers reach the descendants' overrides.
  OnCreate = MethodOf<&TQVForm::FormCreate>(this);
  OnShow = MethodOf<&TQVForm::FormShow>(this);
}

TQVForm::~TQVForm() = default;

// ---- creation and showing ----

void TQVForm::FormCreate(TObject*) {
  textsConverted_ = false;
  autoLoadLanguage_ = true;
  const bool english = InterfaceCodePage() == "437";
  for (TComponent* component : std::vector<TComponent*>(ComponentList())) {
    ClearImeName(*component);
    if (english) UseEnglishFont(*component);
    CompleteButtonImages(*component);
  }
}

void TQVForm::FormShow(TObject*) {
  if (autoLoadLanguage_) LoadLanguage(true);
}

void TQVForm::LoadLanguage(bool wholeChain) { ApplyLanguagePackages(this, wholeChain); }

// ---- language packages ----

void TQVForm::ApplyLanguagePackages(TComponent* target, bool wholeChain) {
  if (target) ApplyPackages(*target, PackageNames(*target, wholeChain, TForm::StaticClass()));
}

void TQVForm::ApplyLanguagePackagesOwn(TComponent* target, bool wholeChain) {
  if (target) ApplyPackages(*target, PackageNames(*target, wholeChain, TQVForm::StaticClass()));
}

// Later packages override what earlier ones set. A file that cannot be
// parsed is logged and skipped: one broken translation must not keep the
// form from showing or the other files from applying.
void TQVForm::ApplyPackages(TComponent& target, const std::vector<std::string>& packageNames) {
  for (const std::string& name : packageNames) {
    LangController->SetLangPackageName(name);
    if (!FileExists(LangController->LangFileName())) continue;
    try {
      LangController->SetActive(true);
      LangController->Reader().ReadComponent(&target);
    } catch (const Exception& error) {
      WriteAlertLog("QVForm", LangController->LangFileName() + ": " + error.Message(), "D");
    }
  }
}

// ---- texts ----

void TQVForm::ConvertFormTexts() {
  if (textsConverted_) return;
  QvConverter->ConvertForm(*this, true);
  textsConverted_ = true;
}

void TQVForm::GetText(const std::string& section, const std::string& key, std::string& text, bool convertDefault,
                      const std::string& defaultText) const {
  std::string fallback = defaultText;  // text may be the very default
  if (convertDefault) {
    try {
      fallback = QvConverter->ConvertForUI(Variant(defaultText)).ToString();
    } catch (const Exception&) {
      // The lookup never fails: an unconvertible default is shown as written.
    }
  }
  text = ReadLangMsg(LangController->DesignType(), section, key, fallback);
}

std::string TQVForm::LocalText(const std::string& section, const std::string& key, const std::string& defaultText,
                               bool convertDefault) const {
  std::string text;
  GetText(section, key, text, convertDefault, defaultText);
  return text;
}

TModalResult TQVForm::MessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  return QvConverter->ShowMessageDialog(text, type, buttons);
}

// ---- code pages and modes ----

std::string TQVForm::SystemCodePage() const { return QvConverter->SysCodePage(); }
std::string TQVForm::InterfaceCodePage() const { return QvConverter->UICodePage(); }
std::uint8_t TQVForm::InterfaceConversionMode() const { return QvConverter->UIConvertMode(); }
std::uint8_t TQVForm::DatabaseConversionMode() const { return QvConverter->DBConvertMode(); }

}  // namespace qv
