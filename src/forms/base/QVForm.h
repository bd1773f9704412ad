#pragma once
// TQVForm: the base of every form of the plug-in. It carries a code-page
// converter and a language controller, looks up localized texts by
// (section, key, default), normalises its components once when created
// (no forced input method, English fonts, disabled images for one-image
// buttons), applies the language files of its class chain when shown, and
// shows message boxes in the interface's language.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Form.h"

namespace qv {

class TCodeConverter;
class TQvLangController;

class TQVForm : public TForm {
  QV_OBJECT(TQVForm, TForm)

  // Builds the converter and the language controller and installs the
  // published FormCreate and FormShow as the create and show handlers.
  explicit TQVForm(TComponent* owner);
  ~TQVForm() override;

  // ---- published components ----
  TCodeConverter* QvConverter = nullptr;       // design type dtClient
  TQvLangController* LangController = nullptr;  // inactive until a file applies

  // ---- language packages ----
  // Applies the language files of Target's class chain (root-most first,
  // stopping before the platform form class), or of its own class only.
  virtual void ApplyLanguagePackages(TComponent* target, bool wholeChain);
  // As ApplyLanguagePackages, but the chain also stops before TQVForm.
  virtual void ApplyLanguagePackagesOwn(TComponent* target, bool wholeChain);
  void LoadLanguage(bool wholeChain);

  // ---- published handlers ----
  virtual void FormCreate(TObject* sender);
  virtual void FormShow(TObject* sender);

  // ---- texts ----
  // Converts every text of the form for the interface, once.
  void ConvertFormTexts();
  bool TextsConverted() const { return textsConverted_; }
  bool AutoLoadLanguage() const { return autoLoadLanguage_; }
  void SetAutoLoadLanguage(bool on) { autoLoadLanguage_ = on; }

  // The localized text of (section, key): the "Msg" attribute of the first
  // element named key in <language folder><section>.Lng, else the default
  // (in its interface conversion when convertDefault). Never fails.
  void GetText(const std::string& section, const std::string& key, std::string& text, bool convertDefault,
               const std::string& defaultText) const;
  // The same as a result.
  std::string LocalText(const std::string& section, const std::string& key, const std::string& defaultText,
                        bool convertDefault = false) const;

  // A message box captioned like this form, in the interface's font.
  TModalResult MessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

  // ---- code pages and modes, as the converter recorded them ----
  std::string SystemCodePage() const;
  std::string InterfaceCodePage() const;
  std::uint8_t InterfaceConversionMode() const;
  std::uint8_t DatabaseConversionMode() const;

 private:
  // Applies the language file of each package, in order, to target.
  void ApplyPackages(TComponent& target, const std::vector<std::string>& packageNames);

  bool textsConverted_ = false;
  bool autoLoadLanguage_ = true;
};

}  // namespace qv
