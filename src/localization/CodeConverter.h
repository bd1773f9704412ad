#pragma once
// TCodeConverter: every form carries one (named "QvConverter"). The program's
// built-in texts are simplified Chinese; the interface may be traditional
// Chinese (code page 950) and the database may hold texts of another code
// page than the interface. The converter turns a whole form's texts and
// fonts to the interface once before the form is shown, converts single
// values and arrays between interface, program and database, and shows
// message dialogs for the interface.
//
// Conversion types: 0 none, 1 traditional to simplified (Big5 to GB),
// 2 simplified to traditional (GB to Big5); any other type converts nothing.
// Texts inside the process are UTF-8 in either script; the translator
// library does the script conversion on code-page bytes.
//
// Interface mode 2 means the program's texts are shown in traditional
// characters; mode 4 means a simplified interface on a traditional system:
// no text conversion, but fonts forced to the GB character set.

#include <cstdint>
#include <memory>
#include <string>

#include "localization/LanguageController.h"  // TDesignType
#include "localization/TranslatorU.h"
#include "platform/core/Component.h"
#include "platform/core/Variant.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Form.h"

namespace qv {

class TFont;

class TCodeConverter : public TComponent {
  QV_OBJECT(TCodeConverter, TComponent)

  // Reads the code pages and modes once, from the client installation's
  // configuration, or from the server's for dtServer (the stored DesignType
  // of a form comes too late to choose, so the choice is made here). Creates
  // the translator from translatorLibrary when the interface mode is not 0;
  // its load errors propagate, so a form whose interface needs the
  // translator cannot be created without it.
  explicit TCodeConverter(TComponent* owner, TDesignType designType = dtClient,
                          const std::string& translatorLibrary = TTranslator::DefaultLibraryFileName);
  ~TCodeConverter() override;

  // Records the kind only; the configuration was read by the constructor.
  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType designType) { designType_ = designType; }

  const std::string& SysCodePage() const { return sysCodePage_; }
  const std::string& UICodePage() const { return uiCodePage_; }
  const std::string& DBCodePage() const { return dbCodePage_; }
  std::uint8_t UIConvertMode() const { return uiConvertMode_; }
  std::uint8_t DBConvertMode() const { return dbConvertMode_; }
  bool HasTranslator() const { return translator_ != nullptr; }

  // The conversion primitive: a converted copy of a text, an array (one or
  // two dimensions; arrays nested in one-dimensional arrays) or anything
  // else. Without a translator, for type 0 and for empty or null values the
  // copy is the value itself. Elements of a one-dimensional array come back
  // as texts (a number 5 becomes "5"). Raises when a value cannot be read as
  // text or the translator fails.
  Variant Convert(int type, const Variant& value) const;

  // Program text to the interface (type = interface mode).
  Variant ConvertForUI(const Variant& value) const;
  // Interface text back to the program; never raises (the input on failure).
  Variant ConvertFromUI(const Variant& value) const;
  // Database values to the interface (type = database mode).
  Variant ConvertFromDB(const Variant& value) const;
  // Values for the database; never raises (the input on failure).
  Variant ConvertToDB(const Variant& value) const;
  std::string ConvertBig5ToGB(const std::string& text) const;
  std::string ConvertGBToBig5(const std::string& text) const;

  // Modes 0, 1 and 4: "SimSun" with the GB2312 character set; modes 2 and 3:
  // "SimSun" with the Big5 character set; other modes leave the font alone.
  static void ApplyFont(TFont& font, int mode);

  // Converts the form's texts and fonts, and those of every component it
  // owns, for the interface; nothing without a translator. The form base
  // calls it once, before the form is first shown, with convertGrids true.
  void ConvertForm(TCustomForm& form, bool convertGrids);

  // Shows a message dialog captioned like the owning form, with the
  // interface's font, and returns its modal result. An empty text shows
  // nothing and gives mrNone (no answer was given).
  TModalResult ShowMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

 private:
  class FormConversion;

  void ReadConfiguration(TDesignType designType);
  // A text through the translator for type 1 or 2, else the text itself.
  std::string ConvertText(int type, const std::string& text) const;
  Variant ConvertArray(int type, const Variant& array) const;
  // Conversion errors give the value back unconverted.
  Variant ConvertOrKeep(int type, const Variant& value) const;

  TDesignType designType_ = dtClient;
  std::string sysCodePage_ = "936", uiCodePage_ = "936", dbCodePage_ = "936";
  std::uint8_t uiConvertMode_ = 0, dbConvertMode_ = 0;
  std::string translatorLibrary_;
  std::unique_ptr<TTranslator> translator_;
};

}  // namespace qv
