#include "localization/LanguageController.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>
#include <vector>

#include "platform/core/AsciiText.h"
#include "platform/core/Collection.h"
#include "platform/core/Exception.h"
#include "platform/core/NumberText.h"
#include "platform/core/TypInfo.h"
#include "platform/system/CodePages.h"
#include "platform/system/SystemInfo.h"
#include "platform/system/TextFile.h"
#include "platform/ui/Form.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/ListView.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/graphics/Graphics.h"
#include "services/OrvaneINI.h"

namespace qv {

namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
  return lower;
}

// ---- reading files through their declaration ----

// The value of the encoding pseudo-attribute of the declaration at the start
// of the bytes, or "" without one.
std::string_view DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return {};
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at = declaration.find_first_not_of(" \t\r\n", at + 8);
  if (at == std::string_view::npos || declaration[at] != '=') return {};
  at = declaration.find_first_not_of(" \t\r\n", at + 1);
  if (at == std::string_view::npos || (declaration[at] != '"' && declaration[at] != '\'')) return {};
  const std::size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return {};
  return declaration.substr(at + 1, end - at - 1);
}

// The code page of a declared Chinese encoding, which the parser cannot
// read itself; 0 for every other encoding (UTF-8, UTF-16, Latin-1), which
// it reads through the declaration on its own.
int ChineseCodePage(std::string_view encoding) {
  static const struct {
    const char* name;
    int codePage;
  } names[] = {{"gb2312", 936},  {"gbk", 936},    {"cp936", 936},      {"x-gbk", 936},
               {"windows-936", 936}, {"gb18030", 54936}, {"big5", 950}, {"cp950", 950},
               {"x-big5", 950},  {"windows-950", 950}};
  for (const auto& n : names)
    if (SameTextAscii(n.name, Trim(encoding))) return n.codePage;
  return 0;
}

[[noreturn]] void RaiseParseError(pugi::xml_parse_status status) {
  pugi::xml_parse_result result;
  result.status = status;
  throw LanguageControllerError(result.description());
}

// ---- identifiers of integer property values ----

struct NamedValue {
  const char* name;
  int value;
};

constexpr NamedValue kCursors[] = {
    {"crDefault", 0},      {"crNone", -1},     {"crArrow", -2},     {"crCross", -3},     {"crIBeam", -4},
    {"crSizeNESW", -6},    {"crSizeNS", -7},   {"crSizeNWSE", -8},  {"crSizeWE", -9},    {"crUpArrow", -10},
    {"crHourGlass", -11},  {"crDrag", -12},    {"crNoDrop", -13},   {"crHSplit", -14},   {"crVSplit", -15},
    {"crMultiDrag", -16},  {"crSQLWait", -17}, {"crNo", -18},       {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21},  {"crSizeAll", -22}, {"crSize", -22},
};

constexpr NamedValue kCharsets[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},   {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"SYMBOL_CHARSET", 2},            {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},        {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},           {"GB2312_CHARSET", GB2312_CHARSET},
    {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}, {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},         {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},          {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},          {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},            {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

template <std::size_t N>
bool IdentToInt(const NamedValue (&table)[N], std::string_view name, std::int64_t& value) {
  for (const NamedValue& named : table)
    if (SameTextAscii(named.name, name)) {
      value = named.value;
      return true;
    }
  return false;
}

// The class tables do not name the type of an integer property, so colour,
// cursor and character-set properties are known by their names, which
// follow the platform's naming throughout (Color, Font.Color, FocusColor,
// Cursor, DragCursor, Charset).
bool IdentToPropertyValue(const TPropInfo& info, std::string_view text, std::int64_t& value) {
  if (EndsWithTextAscii(info.Name, "Color")) {
    TColor color;
    if (!IdentToColor(text, color)) return false;
    value = color;
    return true;
  }
  if (EndsWithTextAscii(info.Name, "Cursor")) return IdentToInt(kCursors, text, value);
  if (SameTextAscii(info.Name, "Charset")) return IdentToInt(kCharsets, text, value);
  return false;
}

// ---- property paths ----

TObject* ObjectProperty(TObject* object, std::string_view name) {
  const TPropInfo* info = GetPropInfo(object, name);
  if (!info || info->Kind != TTypeKind::Class) return nullptr;
  return GetObjectProp(*object, *info);
}

// A path segment "Name_i": the name before the first "_" and the whole
// number after it, or -1 when there is no "_" or no whole number.
struct IndexedName {
  std::string_view name;
  int index = -1;
  bool underscore = false;
};

IndexedName SplitIndex(std::string_view segment) {
  const std::size_t bar = segment.find('_');
  if (bar == std::string_view::npos) return {segment, -1, false};
  std::int64_t number;
  const bool whole = TryStrToInt64(segment.substr(bar + 1), number) && number >= 0 &&
                     number <= std::numeric_limits<int>::max();
  return {segment.substr(0, bar), whole ? static_cast<int>(number) : -1, true};
}

bool IsIndexedListName(std::string_view name) {
  return SameTextAscii(name, "Items") || SameTextAscii(name, "Columns");
}

// Item i of a list-like object, or the object itself past the end.
template <class List>
TObject* ItemOr(TObject* target, const List& list, int index) {
  return index < list.Count() ? static_cast<TObject*>(list[index]) : target;
}

// One "Items_i" or "Columns_i" step of a walk.
TObject* StepIntoIndexed(TObject* target, std::string_view name, int index) {
  if (auto* collection = ObjectAs<TCollection>(target)) return ItemOr(target, *collection, index);
  if (auto* columns = ObjectAs<TListColumns>(target)) return ItemOr(target, *columns, index);
  if (auto* view = ObjectAs<TListView>(target))
    return SameTextAscii(name, "Columns") ? ItemOr(target, view->Columns(), index)
                                          : ItemOr(target, view->Items(), index);
  if (ObjectAs<TListItems>(target)) return target;
  if (auto* tree = ObjectAs<TTreeView>(target); tree && SameTextAscii(name, "Items"))
    return index < tree->Items().Count() ? tree->Items().Item(index) : target;
  return ObjectProperty(target, name);
}

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> segments;
  for (std::size_t start = 0;;) {
    const std::size_t dot = path.find('.', start);
    segments.push_back(path.substr(start, dot - start));
    if (dot == std::string_view::npos) return segments;
    start = dot + 1;
  }
}

// Where the walk of a path's leading segments ends.
struct WalkEnd {
  TObject* target;      // nullptr: the path leads nowhere
  std::size_t last;     // the segment treated as the last
  bool walked;          // some segment moved the target
};

WalkEnd WalkPath(TComponent& component, const std::vector<std::string_view>& segments) {
  WalkEnd end{&component, segments.size() - 1, false};
  for (std::size_t k = 0; k + 1 < segments.size(); ++k) {
    const IndexedName step = SplitIndex(Trim(segments[k]));
    if (step.underscore && (step.index < 0 || !IsIndexedListName(step.name))) {
      end.last = k;  // an index on anything else ends the walk here
      return end;
    }
    end.target = step.underscore ? StepIntoIndexed(end.target, step.name, step.index)
                                 : ObjectProperty(end.target, step.name);
    end.walked = true;
    if (!end.target) return end;
  }
  return end;
}

// A line index a language file may grow a list to: far beyond any real
// form, and small enough that a damaged file cannot exhaust the memory.
constexpr int kMaxListLine = 65535;

void StoreValue(TObject* target, const IndexedName& last, const std::string& value) {
  if (auto* list = ObjectAs<TStrings>(target)) {
    if (last.index < 0 || last.index > kMaxListLine) return;  // out of range: skipped
    list->BeginUpdate();
    while (list->Count() <= last.index) list->Add("");
    list->EndUpdate();
    list->SetStrings(last.index, value);
  } else if (auto* item = ObjectAs<TListItem>(target); item && SameTextAscii(last.name, "Caption")) {
    item->SetCaption(value);
  } else if (auto* node = ObjectAs<TTreeNode>(target); node && SameTextAscii(last.name, "Text")) {
    node->SetText(value);
  } else {
    SetPropByPath(target, last.name, value);
  }
}

// Applies one attribute of a language file to the component; raises what
// setting the property raises.
void ApplyPath(TComponent& component, std::string_view path, const std::string& value) {
  const std::vector<std::string_view> segments = SplitPath(path);
  const WalkEnd end = WalkPath(component, segments);
  if (!end.target) return;
  const IndexedName last = SplitIndex(Trim(segments[end.last]));
  TObject* target = end.target;
  if (!end.walked && last.index >= 0) target = ObjectProperty(&component, last.name);  // Items_3 on a combo box
  if (target) StoreValue(target, last, value);
}

// ---- ReadLangMsg's documents ----

// Message texts are looked up one by one, many per form, in a handful of
// files: each file's parsed document is kept and used again while the
// file's bytes are unchanged.
class MessageDocuments {
 public:
  // nullptr when the file cannot be read; raises when it cannot be parsed.
  std::shared_ptr<const TLangDocument> Get(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) return nullptr;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (const auto it = entries_.find(path); it != entries_.end() && it->second.bytes == bytes)
      return it->second.document;
    std::shared_ptr<const TLangDocument> document = TLangDocument::FromBytes(bytes);
    if (entries_.size() >= kMaxFiles) entries_.clear();
    entries_[path] = Entry{std::move(bytes), document};
    return document;
  }

 private:
  static constexpr std::size_t kMaxFiles = 64;
  struct Entry {
    std::string bytes;
    std::shared_ptr<const TLangDocument> document;
  };
  std::mutex mutex_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace

// ---- language folder ----

const TEnumType& DesignTypeType() {
  static const TEnumType type("TDesignType", {"dtClient", "dtServer"});
  return type;
}

std::string GetLangFolder(TDesignType designType) {
  const std::unique_ptr<TOrvaneIni> ini =
      designType == dtServer ? std::unique_ptr<TOrvaneIni>(new TOrvaneIniS) : std::make_unique<TOrvaneIniC>();
  TStringList languages;
  languages.SetText("936=CHS\r\n950=CHT\r\n437=ENG");
  const std::string language = languages.Values(ini->UICodePage());
  if (language.empty()) return "";
  const std::string folder = ini->InstallPath() + "MultiLanguage/" + language + "/";
  return DirectoryExists(folder) ? folder : "";
}

// ---- TLangDocument ----

std::shared_ptr<const TLangDocument> TLangDocument::FromText(std::string_view utf8) {
  auto document = std::make_shared<TLangDocument>();
  document->Parse(utf8.data(), utf8.size(), pugi::encoding_utf8);
  return document;
}

std::shared_ptr<const TLangDocument> TLangDocument::FromFile(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) RaiseParseError(pugi::status_file_not_found);
  return FromBytes(bytes);
}

std::shared_ptr<const TLangDocument> TLangDocument::FromBytes(std::string_view bytes) {
  auto document = std::make_shared<TLangDocument>();
  if (const int codePage = ChineseCodePage(DeclaredEncoding(bytes))) {
    // Invalid bytes become U+FFFD rather than losing the whole file.
    const std::string utf8 = DecodeLenient(bytes, codePage);
    document->Parse(utf8.data(), utf8.size(), pugi::encoding_utf8);
  } else {
    document->Parse(bytes.data(), bytes.size(), pugi::encoding_auto);
  }
  return document;
}

void TLangDocument::Parse(const void* bytes, std::size_t size, pugi::xml_encoding encoding) {
  const pugi::xml_parse_result result = document_.load_buffer(bytes, size, pugi::parse_default, encoding);
  if (!result) throw LanguageControllerError(result.description());
  BuildIndex();
}

void TLangDocument::BuildIndex() {
  // An explicit stack keeps deep documents off the call stack; children are
  // pushed last first so that elements come off in document order.
  std::vector<pugi::xml_node> pending{document_.document_element()};
  while (!pending.empty()) {
    const pugi::xml_node element = pending.back();
    pending.pop_back();
    firstElement_.try_emplace(element.name(), element);
    if (const pugi::xml_attribute message = element.attribute("Msg"))
      firstMessage_.try_emplace(element.name(), message);
    const std::size_t mark = pending.size();
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
      if (child.type() == pugi::node_element) pending.push_back(child);
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(mark), pending.end());
  }
}

pugi::xml_node TLangDocument::FirstElement(std::string_view tagName) const {
  const auto it = firstElement_.find(tagName);
  return it == firstElement_.end() ? pugi::xml_node() : it->second;
}

pugi::xml_attribute TLangDocument::FirstMessage(std::string_view key) const {
  const auto it = firstMessage_.find(key);
  return it == firstMessage_.end() ? pugi::xml_attribute() : it->second;
}

// ---- readers of one component ----

const TClass& TComponentRead::StaticClass() {
  static const TClass cls = ClassBuilder<TComponentRead>("TComponentRead", &TObject::StaticClass());
  return cls;
}

void TComponentRead::ReadAttribute(int index) {
  if (index < 0) return;
  pugi::xml_attribute attribute = node_.first_attribute();
  for (int i = 0; attribute && i < index; ++i) attribute = attribute.next_attribute();
  Apply(attribute);
}

void TComponentRead::ReadAttribute(std::string_view name) {
  for (pugi::xml_attribute attribute : node_.attributes())
    if (name == attribute.name()) return Apply(attribute);
}

void TComponentRead::ReadAll() {
  int count = 0;
  for (pugi::xml_attribute attribute = node_.first_attribute(); attribute; attribute = attribute.next_attribute())
    ++count;
  for (int i = 0; i < count; ++i) ReadAttribute(i);
}

void TComponentRead::Apply(pugi::xml_attribute attribute) {
  if (!attribute || !component_) return;
  try {
    ApplyPath(*component_, attribute.name(), attribute.value());
  } catch (const Exception&) {
    // A property that does not take the value: this attribute is skipped.
  } catch (const std::exception&) {
  }
}

const TClass& TCustomComboBoxRead::StaticClass() {
  static const TClass cls =
      ClassBuilder<TCustomComboBoxRead>("TCustomComboBoxRead", &TComponentRead::StaticClass());
  return cls;
}

void TCustomComboBoxRead::ReadAll() {
  auto* combo = ObjectAs<TCustomComboBox>(GetComponent());
  const int itemIndex = combo ? combo->ItemIndex() : -1;
  TComponentRead::ReadAll();
  if (combo) combo->SetItemIndex(itemIndex);
}

const TClass& TReaderFactory::StaticClass() {
  static const TClass cls = ClassBuilder<TReaderFactory>("TReaderFactory", &TObject::StaticClass());
  return cls;
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(TComponent* component, pugi::xml_node node) {
  // The original also had a reader for the data-aware combo box of an
  // outside component pack; no such control exists on this platform.
  if (ObjectAs<TCustomComboBox>(component)) return std::make_unique<TCustomComboBoxRead>(component, node);
  return std::make_unique<TComponentRead>(component, node);
}

// ---- TLangReader ----

const TClass& TLangReader::StaticClass() {
  static const TClass cls = ClassBuilder<TLangReader>("TLangReader", &TObject::StaticClass());
  return cls;
}

TLangReader::TLangReader(std::shared_ptr<const TLangDocument> document, const TStrings& excludeControls,
                         TLoadComponentEvent beforeLoadComponent, TLoadComponentEvent afterLoadComponent)
    : document_(std::move(document)),
      beforeLoadComponent_(beforeLoadComponent),
      afterLoadComponent_(afterLoadComponent) {
  SetExcludeControls(excludeControls);
}

void TLangReader::SetExcludeControls(const TStrings& names) {
  excludeControls_.Assign(names);
  excluded_.clear();
  for (int i = 0; i < names.Count(); ++i) excluded_.insert(LowerAscii(Trim(names[i])));
}

bool TLangReader::IsExcluded(const std::string& name) const {
  return !excluded_.empty() && excluded_.count(LowerAscii(Trim(name))) > 0;
}

void TLangReader::ReadElement(TComponent* component, pugi::xml_node node) {
  beforeLoadComponent_(component, node);
  TReaderFactory::CreateReader(component, node)->ReadAll();
  afterLoadComponent_(component, node);
}

void TLangReader::ReadComponent(TComponent* component) {
  if (!component) return;
  const bool root = component->Is<TCustomForm>() || component->InheritsFrom("TDataModule");
  if (root && document_->DocumentElement()) ReadElement(component, document_->DocumentElement());
  if (!component->Name().empty() && !IsExcluded(component->Name()))
    if (const pugi::xml_node node = document_->FirstElement(component->Name())) ReadElement(component, node);
  // A copy: a load-component handler may add or free components.
  const std::vector<TComponent*> owned = component->ComponentList();
  for (TComponent* child : owned) ReadComponent(child);
}

// ---- TLanguageController ----

const TClass& TLanguageController::StaticClass() {
  static const TClass cls = ClassBuilder<TLanguageController>("TLanguageController", &TComponent::StaticClass());
  return cls;
}

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner), xmlText_(std::make_unique<TStringList>()), excludeControls_(std::make_unique<TStringList>()) {
  xmlText_->OnChange = MethodOf<&TLanguageController::XMLTextChanged>(this);
}

TLanguageController::~TLanguageController() {
  xmlText_->OnChange.Clear();
  reader_.reset();
}

void TLanguageController::SetActive(bool active) {
  if (HasState(ComponentStateFlag::Loading)) {
    streamedActive_ = active;
    return;
  }
  if (active == Active()) return;
  if (active)
    Open();
  else
    Close();
}

void TLanguageController::Loaded() {
  TComponent::Loaded();
  if (!streamedActive_) return;
  streamedActive_ = false;
  try {
    SetActive(true);
  } catch (const Exception&) {
    // Loading ends in a destructor, where an error cannot travel on; the
    // controller stays closed, as after any failed opening.
  }
}

std::shared_ptr<const TLangDocument> TLanguageController::LoadDocument() const {
  if (xmlText_->Count() > 0) return TLangDocument::FromText(xmlText_->Text());
  if (langFileName_.empty()) throw LanguageControllerError("Cannot Find File " + langFileName_ + "!");
  return TLangDocument::FromFile(langFileName_);
}

void TLanguageController::Open() {
  BeforeOpen(this);
  reader_.reset();
  document_.reset();
  std::shared_ptr<const TLangDocument> document = LoadDocument();
  reader_ = std::make_unique<TLangReader>(document, *excludeControls_, BeforeLoadComponent, AfterLoadComponent);
  document_ = std::move(document);
  AfterOpen(this);
}

void TLanguageController::Close() {
  BeforeClose(this);
  reader_.reset();
  document_.reset();
  AfterClose(this);
}

void TLanguageController::SetLangFileName(const std::string& fileName) {
  if (fileName == langFileName_) return;
  langFileName_ = fileName;
  xmlText_->Clear();
  SetActive(false);
}

void TLanguageController::SetXMLText(TStrings* text) {
  if (text)
    xmlText_->Assign(*text);
  else
    xmlText_->Clear();
}

void TLanguageController::XMLTextChanged(TObject*) {
  if (HasState(ComponentStateFlag::Loading)) return;
  if (xmlText_->Count() > 0) langFileName_.clear();
  SetActive(false);
}

void TLanguageController::SetExcludeControls(TStrings* names) {
  if (names)
    excludeControls_->Assign(*names);
  else
    excludeControls_->Clear();
  if (reader_) reader_->SetExcludeControls(*excludeControls_);
}

TLangReader& TLanguageController::Reader() const {
  if (!reader_) throw LanguageControllerError("No active LanguageController!");
  return *reader_;
}

// ---- TQvLangController ----

const TClass& TQvLangController::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQvLangController>("TQvLangController", &TLanguageController::StaticClass())
          .Boolean("Active", &TQvLangController::Active, &TQvLangController::SetActive)
          .String("LangPackageName", &TQvLangController::LangPackageName, &TQvLangController::SetLangPackageName)
          .Enumeration("DesignType", DesignTypeType(), &TQvLangController::DesignType,
                       &TQvLangController::SetDesignType)
          .Object("ExcludeControls", TStrings::StaticClass(), &TQvLangController::ExcludeControls,
                  &TQvLangController::SetExcludeControls)
          .Event("BeforeOpen", &TQvLangController::BeforeOpen)
          .Event("AfterOpen", &TQvLangController::AfterOpen)
          .Event("BeforeClose", &TQvLangController::BeforeClose)
          .Event("AfterClose", &TQvLangController::AfterClose)
          .Event("BeforeLoadComponent", &TQvLangController::BeforeLoadComponent)
          .Event("AfterLoadComponent", &TQvLangController::AfterLoadComponent);
  return cls;
}

void TQvLangController::SetLangPackageName(const std::string& name) {
  if (name == langPackageName_) return;
  langPackageName_ = name;
  SetLangFileName(GetLangFolder(designType_) + name + ".Lng");
}

// ---- setting properties by path, message texts ----

void SetPropByPath(TObject* target, std::string_view path, std::string_view value) {
  TObject* holder = nullptr;
  const TPropInfo* info = ResolvePropPath(target, Trim(path), holder);
  if (!info) return;
  std::int64_t number;
  if (info->Kind == TTypeKind::Integer && IdentToPropertyValue(*info, value, number))
    return SetOrdProp(*holder, *info, number);
  if (info->Kind == TTypeKind::Enumeration || info->Kind == TTypeKind::Set) value = Trim(value);
  SetPropText(*holder, *info, value);
}

std::string ReadLangMsg(TDesignType designType, const std::string& fileBase, const std::string& key,
                        const std::string& defaultText) {
  static MessageDocuments documents;
  try {
    const std::string path = GetLangFolder(designType) + fileBase + ".Lng";
    if (!FileExists(path)) return defaultText;
    const std::shared_ptr<const TLangDocument> document = documents.Get(path);
    if (!document) return defaultText;
    const pugi::xml_attribute message = document->FirstMessage(key);
    return message ? message.value() : defaultText;
  } catch (...) {
    // Message texts never fail: any trouble gives the default.
    return defaultText;
  }
}

}  // namespace qv
