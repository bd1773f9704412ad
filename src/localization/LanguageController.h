#pragma once
// Language files and the controller that applies them to a form.
//
// A language file is an XML document named after a form class
// (<language folder><class name>.Lng). Its document element applies to the
// form itself; any other element applies to the component whose Name is its
// tag name (the first such element in document order). Each attribute names
// a property path of the component and gives the text to store there:
//   Caption, Hint, Font.Name, Font.Color="clRed", Items_2 (line 2 of a
//   combo box's items), Lines_0, Columns_1.Caption, Items_4.Caption (list
//   item 4 of a list view), Items_3.Text (node 3 of a tree view).
// Elements with a "Msg" attribute hold message texts, read by ReadLangMsg.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

#include "platform/core/Component.h"
#include "platform/core/Strings.h"

namespace qv {

enum TDesignType { dtClient, dtServer };
const TEnumType& DesignTypeType();

// The language folder of the client or server configuration: the
// installation path, "MultiLanguage/", CHS, CHT or ENG (by the UI code page
// 936, 950 or 437) and "/". "" when the code page has no language or the
// folder does not exist, so file names then resolve against the current
// folder. Read anew on every call.
std::string GetLangFolder(TDesignType designType);

// A parsed language file with an index from tag name to the first element
// of that name in document order, built once, so that finding a
// component's element does not search the whole document.
class TLangDocument {
 public:
  // Text that is already UTF-8, whatever its declaration says. Raises
  // LanguageControllerError with the parser's reason when it cannot be parsed.
  static std::shared_ptr<const TLangDocument> FromText(std::string_view utf8);
  // A file in the encoding its declaration names (UTF-8, GB2312/GBK,
  // GB18030, Big5); raises as FromText, also for a missing file.
  static std::shared_ptr<const TLangDocument> FromFile(const std::string& path);
  // The bytes of such a file.
  static std::shared_ptr<const TLangDocument> FromBytes(std::string_view bytes);

  pugi::xml_node DocumentElement() const { return document_.document_element(); }
  // The first element with the tag name, the document element included;
  // an empty node when there is none.
  pugi::xml_node FirstElement(std::string_view tagName) const;
  // The first "Msg" attribute of an element with the tag name, in document
  // order; an empty attribute when there is none.
  pugi::xml_attribute FirstMessage(std::string_view key) const;

 private:
  void Parse(const void* bytes, std::size_t size, pugi::xml_encoding encoding);
  void BuildIndex();

  pugi::xml_document document_;
  // Keys point into the names the document holds.
  std::unordered_map<std::string_view, pugi::xml_node> firstElement_;
  std::unordered_map<std::string_view, pugi::xml_attribute> firstMessage_;
};

// Raised around applying one element to one component.
using TLoadComponentEvent = Event<void(TComponent* xComponent, pugi::xml_node xComponentNode)>;

// Reads one component from one element.
class ILangRead {
 public:
  virtual ~ILangRead() = default;
  virtual TComponent* GetComponent() const = 0;
  virtual pugi::xml_node GetNode() const = 0;
  virtual void SetComponent(TComponent* component) = 0;
  virtual void SetNode(pugi::xml_node node) = 0;
  // Applies the attribute at that position, or of that name; nothing when
  // there is no such attribute. Never raises: a property that does not
  // exist or a value that does not fit is skipped.
  virtual void ReadAttribute(int index) = 0;
  virtual void ReadAttribute(std::string_view name) = 0;
  // Every attribute, in attribute order.
  virtual void ReadAll() = 0;
};

// The general reader: walks each attribute's property path from the component.
class TComponentRead : public TObject, public ILangRead {
  QV_OBJECT(TComponentRead, TObject)

  TComponentRead(TComponent* component, pugi::xml_node node) : component_(component), node_(node) {}

  TComponent* GetComponent() const override { return component_; }
  pugi::xml_node GetNode() const override { return node_; }
  void SetComponent(TComponent* component) override { component_ = component; }
  void SetNode(pugi::xml_node node) override { node_ = node; }
  void ReadAttribute(int index) override;
  void ReadAttribute(std::string_view name) override;
  void ReadAll() override;

 private:
  void Apply(pugi::xml_attribute attribute);

  TComponent* component_;
  pugi::xml_node node_;
};

// Keeps a combo box's selected item across reading: adding or changing
// items must not change what the user has chosen.
class TCustomComboBoxRead : public TComponentRead {
  QV_OBJECT(TCustomComboBoxRead, TComponentRead)
  using TComponentRead::TComponentRead;

  void ReadAll() override;
};

class TReaderFactory : public TObject {
  QV_OBJECT(TReaderFactory, TObject)

  // The reader class that fits the component, given the component and the element.
  static std::unique_ptr<ILangRead> CreateReader(TComponent* component, pugi::xml_node node);
};

// Applies an open document to a component and everything it owns.
class TLangReader : public TObject {
  QV_OBJECT(TLangReader, TObject)

  TLangReader(std::shared_ptr<const TLangDocument> document, const TStrings& excludeControls,
              TLoadComponentEvent beforeLoadComponent, TLoadComponentEvent afterLoadComponent);

  // A form (or data module) takes the document element; any named component
  // that is not excluded takes its element; then each owned component in
  // ownership order.
  void ReadComponent(TComponent* component);

  const TStringList& ExcludeControls() const { return excludeControls_; }
  void SetExcludeControls(const TStrings& names);
  const TLangDocument& Document() const { return *document_; }

 private:
  void ReadElement(TComponent* component, pugi::xml_node node);
  bool IsExcluded(const std::string& name) const;

  std::shared_ptr<const TLangDocument> document_;
  TStringList excludeControls_;
  std::unordered_set<std::string> excluded_;  // trimmed, lower case
  TLoadComponentEvent beforeLoadComponent_;
  TLoadComponentEvent afterLoadComponent_;
};

// Opens and closes one language document and owns the reader while open.
class TLanguageController : public TComponent {
  QV_OBJECT(TLanguageController, TComponent)

  explicit TLanguageController(TComponent* owner);
  ~TLanguageController() override;

  // A document is loaded and has a document element.
  bool Active() const { return document_ != nullptr; }
  // Opening raises BeforeOpen, parses XMLText when it holds text and the
  // file LangFileName otherwise, makes the reader and raises AfterOpen;
  // closing raises BeforeClose, drops both and raises AfterClose. Raises
  // LanguageControllerError ("Cannot Find File !" without text or file
  // name, else the parser's reason) and then stays closed. While the
  // component is loading, the value is kept and applied by Loaded.
  void SetActive(bool active);

  const std::string& LangFileName() const { return langFileName_; }
  // A new name clears XMLText and closes the document.
  void SetLangFileName(const std::string& fileName);
  // XML text parsed instead of the file when it holds text; a change
  // clears LangFileName (when it holds text) and closes the document.
  TStringList& XMLText() { return *xmlText_; }
  const TStringList& XMLText() const { return *xmlText_; }
  void SetXMLText(TStrings* text);
  // Names of components not translated through their own element.
  const TStrings* ExcludeControls() const { return excludeControls_.get(); }
  // Copies the names (nullptr clears them), also into an open reader.
  void SetExcludeControls(TStrings* names);

  // Raises LanguageControllerError "No active LanguageController!" when closed.
  TLangReader& Reader() const;
  // The open document, or nullptr.
  const TLangDocument* Document() const { return document_.get(); }

  TNotifyEvent BeforeOpen;
  TNotifyEvent AfterOpen;
  TNotifyEvent BeforeClose;
  TNotifyEvent AfterClose;
  TLoadComponentEvent BeforeLoadComponent;
  TLoadComponentEvent AfterLoadComponent;

 protected:
  void Loaded() override;

 private:
  void Open();
  void Close();
  std::shared_ptr<const TLangDocument> LoadDocument() const;
  void XMLTextChanged(TObject* sender);

  std::string langFileName_;
  std::unique_ptr<TStringList> xmlText_;
  std::unique_ptr<TStringList> excludeControls_;
  std::shared_ptr<const TLangDocument> document_;
  std::unique_ptr<TLangReader> reader_;
  bool streamedActive_ = false;
};

// The controller every form carries: finds its file by package name in the
// language folder of the client or server configuration.
class TQvLangController : public TLanguageController {
  QV_OBJECT(TQvLangController, TLanguageController)
  using TLanguageController::TLanguageController;

  const std::string& LangPackageName() const { return langPackageName_; }
  // A new name sets LangFileName to GetLangFolder(DesignType) + name + ".Lng".
  void SetLangPackageName(const std::string& name);
  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType designType) { designType_ = designType; }

 private:
  std::string langPackageName_;
  TDesignType designType_ = dtClient;
};

// Sets a published property by name or dotted path from its text: nothing
// when the property does not exist; colour, cursor and character-set
// identifiers ("clRed", "crHourGlass", "GB2312_CHARSET") become their
// numbers; enumeration and set texts are trimmed. Raises when the value
// does not fit the property.
void SetPropByPath(TObject* target, std::string_view path, std::string_view value);

// The "Msg" attribute of the first element named key (that has one) in the
// file GetLangFolder(designType) + fileBase + ".Lng"; the default when the
// file, the element or the attribute is missing or the file cannot be read.
// Never raises.
std::string ReadLangMsg(TDesignType designType, const std::string& fileBase, const std::string& key,
                        const std::string& defaultText);

}  // namespace qv
