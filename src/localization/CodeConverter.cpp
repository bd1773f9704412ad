#include "localization/CodeConverter.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "controls/SelectPnl.h"
#include "platform/core/Exception.h"
#include "platform/core/Strings.h"
#include "platform/core/TypInfo.h"
#include "platform/system/CodePages.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/ListView.h"
#include "platform/ui/controls/Menus.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/graphics/Graphics.h"
#include "services/OrvaneINI.h"

namespace qv {

namespace {

constexpr int kNoConversion = 0, kBig5ToGB = 1, kGBToBig5 = 2;
constexpr int kGBCodePage = 936, kBig5CodePage = 950;
// Appended to dialog texts on a GB interface or system.
constexpr const char* kDialogTextPadding = "      ";

bool IsTextConversion(int type) { return type == kBig5ToGB || type == kGBToBig5; }

// The type that undoes a mode: interface and database texts go back the other way.
int ReverseType(int mode) {
  return mode == kBig5ToGB ? kGBToBig5 : mode == kGBToBig5 ? kBig5ToGB : kNoConversion;
}

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts UTF-8 text between the scripts: the translator works on code-page
// bytes, so type 2 carries simplified text through code page 936 and brings
// the traditional result back from code page 950, and type 1 the reverse.
std::string TranslateScript(const TTranslator& translator, int type, const std::string& utf8) {
  const bool toBig5 = type == kGBToBig5;
  const int from = toBig5 ? kGBCodePage : kBig5CodePage, to = toBig5 ? kBig5CodePage : kGBCodePage;
  std::string source;
  if (!TryEncodeCodePage(utf8, from, source))
    throw EConvertError("Text is not valid UTF-8 and cannot be converted to code page " + std::to_string(from));
  const std::string converted = toBig5 ? translator.GBToBIG5Text(source) : translator.BIG5ToGBText(source);
  std::string result;
  if (!TryDecodeCodePage(converted, to, result))
    throw EConvertError("The translator gave text that is not valid in code page " + std::to_string(to));
  return result;
}

// Translations already made, shared by all converters of the process: the
// library spends about a microsecond per character, and forms are built
// from the same texts every time they open. Bounded by starting afresh.
class TranslationMemo {
 public:
  static TranslationMemo& Instance() {
    static TranslationMemo memo;
    return memo;
  }

  bool Find(const std::string& key, std::string& translation) const {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found == entries_.end()) return false;
    translation = found->second;
    return true;
  }

  void Store(std::string key, std::string translation) {
    std::lock_guard lock(mutex_);
    if (entries_.size() >= kMaxEntries) entries_.clear();
    entries_.emplace(std::move(key), std::move(translation));
  }

 private:
  static constexpr std::size_t kMaxEntries = 65536;
  mutable std::mutex mutex_;
  std::unordered_map<std::string, std::string> entries_;
};

// A text result of the same kind as the source: Unicode stays Unicode.
Variant TextLike(const Variant& source, std::string text) {
  return source.Type() == VarType::UString ? Variant::Unicode(std::move(text)) : Variant(std::move(text));
}

// The object of a published property when the property is of class T.
template <class T>
T* ObjectProperty(TObject& object, std::string_view name) {
  const TPropInfo* info = GetPropInfo(&object, name);
  if (!info || info->Kind != TTypeKind::Class || !info->PropClass ||
      !info->PropClass->InheritsFrom(T::StaticClass()))
    return nullptr;
  return ObjectAs<T>(GetObjectProp(object, *info));
}

// A writable published enumeration of the named type, or nullptr.
const TPropInfo* EnumProperty(TObject& object, std::string_view name, std::string_view typeName) {
  const TPropInfo* info = GetPropInfo(&object, name);
  if (!info || info->Kind != TTypeKind::Enumeration || !info->EnumType || !info->IsWritable()) return nullptr;
  return info->EnumType->Name() == typeName ? info : nullptr;
}

}  // namespace

// ---- the steps of ConvertForm ----

class TCodeConverter::FormConversion {
 public:
  FormConversion(const TCodeConverter& converter, int mode, bool convertGrids)
      : converter_(converter), mode_(mode), convertGrids_(convertGrids) {}

  void Run(TCustomForm& form) {
    if (converter_.SysCodePage() == "950") form.SetCaption(converter_.ConvertText(kGBToBig5, form.Caption()));
    for (const char* name : {"Hint", "ButtonHint"}) StringProperty(form, name, mode_);
    ScreenFonts();
    // Run-time controls of other controls are not owned by the form and are
    // reached only through the class rules.
    const std::vector<TComponent*> components = form.ComponentList();
    for (TComponent* component : components) Component(*component);
  }

 private:
  bool Traditional() const { return mode_ == kGBToBig5; }
  std::string Text(int type, const std::string& text) const { return converter_.ConvertText(type, text); }

  void ScreenFonts() {
    for (TFont* font : {&Application().IconFont(), &Application().HintFont(), &Application().MenuFont()})
      ApplyFont(*font, mode_);
    // Showing hints anew makes the hint window take up the new hint font.
    const bool showHint = Application().ShowHint();
    Application().SetShowHint(!showHint);
    Application().SetShowHint(showHint);
  }

  void Component(TComponent& component) {
    for (const char* name : {"Font", "TitleFont"})
      if (TFont* font = ObjectProperty<TFont>(component, name)) ApplyFont(*font, mode_);
    for (const char* name : {"Caption", "Hint", "ButtonHint"}) StringProperty(component, name, mode_);
    StringsProperty(component, "Items");
    StringsProperty(component, "Lines");
    OwnerDrawStyle(component);
    // Status panels: no status bar class exists here.
    ClassRules(component);
  }

  void StringProperty(TObject& object, std::string_view name, int type) {
    if (!IsTextConversion(type)) return;
    const TPropInfo* info = GetPropInfo(&object, name);
    if (!info || info->Kind != TTypeKind::String || !info->IsWritable()) return;
    const std::string text = GetStrProp(object, *info);
    if (!text.empty()) SetStrProp(object, *info, Text(type, text));
  }

  // The whole text in one conversion; objects attached to the items stay.
  void StringsProperty(TComponent& component, std::string_view name) {
    TStrings* strings = ObjectProperty<TStrings>(component, name);
    if (!strings || strings->Count() == 0 || !IsTextConversion(mode_)) return;
    auto* combo = ObjectAs<TCustomComboBox>(&component);
    const int itemIndex = combo ? combo->ItemIndex() : -1;
    std::vector<TObject*> objects;
    for (int i = 0; i < strings->Count(); ++i) objects.push_back(strings->Objects(i));
    strings->SetText(Text(mode_, strings->Text()));
    if (strings->Count() == static_cast<int>(objects.size()))
      for (int i = 0; i < strings->Count(); ++i) strings->SetObjects(i, objects[static_cast<std::size_t>(i)]);
    if (combo && combo->ItemIndex() != itemIndex) combo->SetItemIndex(itemIndex);
  }

  // Owner drawing lets the program's font and character set show the items.
  void OwnerDrawStyle(TComponent& component) {
    if (const TPropInfo* info = EnumProperty(component, "Style", ComboBoxStyleType().Name())) {
      auto* combo = ObjectAs<TCustomComboBox>(&component);
      const int itemIndex = combo ? combo->ItemIndex() : -1;
      const std::int64_t style = GetOrdProp(component, *info);
      if (style == csDropDown) SetOrdProp(component, *info, csOwnerDrawVariable);
      if (style == csDropDownList) SetOrdProp(component, *info, csOwnerDrawFixed);
      if (combo && combo->ItemIndex() != itemIndex) combo->SetItemIndex(itemIndex);
    } else if (const TPropInfo* info = EnumProperty(component, "Style", ListBoxStyleType().Name())) {
      if (GetOrdProp(component, *info) == lbStandard) SetOrdProp(component, *info, lbOwnerDrawFixed);
    }
  }

  void ClassRules(TComponent& component) {
    // Tab sets and data navigators: no such classes exist here.
    if (component.Is<TMainMenu>() || component.Is<TPopupMenu>()) {
      if (mode_ == kGBToBig5 || mode_ == 4) static_cast<TMenu&>(component).SetOwnerDraw(true);
      return;
    }
    if (!Traditional()) return;
    if (auto* panel = ObjectAs<TSelectPanel>(&component)) return SelectPanel(*panel);
    if (auto* view = ObjectAs<TListView>(&component)) return ListView(*view);
    if (auto* combo = ObjectAs<TCustomComboBox>(&component)) return ComboBox(*combo);
    if (!convertGrids_) return;
    // Aligned string grids: no such class exists here.
    if (auto* tree = ObjectAs<TTreeView>(&component)) return TreeView(*tree);
    if (auto* grid = ObjectAs<TStringGrid>(&component)) StringGrid(*grid);
  }

  void ListView(TListView& view) {
    if (view.Columns().Count() == 0) return;
    for (int i = 0; i < view.Columns().Count(); ++i) {
      TListColumn* column = view.Columns()[i];
      column->SetCaption(Text(kGBToBig5, column->Caption()));
    }
    // Taken first: a list sorted by text moves an item whose caption changes.
    std::vector<TListItem*> items;
    for (TListItem* item : view.Items()) items.push_back(item);
    view.Items().BeginUpdate();
    for (TListItem* item : items) {
      item->SetCaption(Text(kGBToBig5, item->Caption()));
      TStrings& cells = item->SubItems();
      cells.BeginUpdate();
      for (int i = 0; i < cells.Count(); ++i) cells.SetStrings(i, Text(kGBToBig5, cells[i]));
      cells.EndUpdate();
    }
    view.Items().EndUpdate();
  }

  void SelectPanel(TSelectPanel& panel) {
    if (TStrings* hints = panel.ChildHints()) ConvertEach(*hints);
    TStringList words;
    if (panel.BeginWords()) {
      words.Assign(*panel.BeginWords());
      ConvertEach(words);
      panel.SetBeginWords(&words);
    }
    if (panel.FinalWords()) {
      words.Assign(*panel.FinalWords());
      ConvertEach(words);
      panel.SetFinalWords(&words);
    }
    panel.SetHintWord(Text(kGBToBig5, panel.HintWord()));
    ListView(*panel.ListBox);
  }

  void ConvertEach(TStrings& strings) {
    strings.BeginUpdate();
    for (int i = 0; i < strings.Count(); ++i) strings.SetStrings(i, Text(kGBToBig5, strings[i]));
    strings.EndUpdate();
  }

  void ComboBox(TCustomComboBox& combo) {
    if (combo.Style() != csSimple) combo.SetStyle(csOwnerDrawFixed);
    if (combo.ItemIndex() < 0 && combo.Items().Count() > 0) combo.SetItemIndex(0);
  }

  void TreeView(TTreeView& tree) {
    TTreeNodes& nodes = tree.Items();
    for (int i = 0; i < nodes.Count(); ++i) nodes[i]->SetText(Text(kGBToBig5, nodes[i]->Text()));
  }

  void StringGrid(TStringGrid& grid) {
    for (int row = 0; row < grid.RowCount(); ++row)
      for (int col = 0; col < grid.ColCount(); ++col)
        if (!grid.Cells(col, row).empty()) grid.SetCells(col, row, Text(kGBToBig5, grid.Cells(col, row)));
  }

  const TCodeConverter& converter_;
  int mode_;
  bool convertGrids_;
};

// ---- the component ----

const TClass& TCodeConverter::StaticClass() {
  static const TClass cls =
      ClassBuilder<TCodeConverter>("TCodeConverter", &TComponent::StaticClass())
          .Enumeration("DesignType", DesignTypeType(), &TCodeConverter::DesignType, &TCodeConverter::SetDesignType);
  return cls;
}

TCodeConverter::TCodeConverter(TComponent* owner, TDesignType designType, const std::string& translatorLibrary)
    : TComponent(owner), designType_(designType), translatorLibrary_(translatorLibrary) {
  ReadConfiguration(designType);
  if (uiConvertMode_ != 0) translator_ = std::make_unique<TTranslator>(translatorLibrary);
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::ReadConfiguration(TDesignType designType) {
  const std::unique_ptr<const TOrvaneIni> ini =
      designType == dtServer ? std::unique_ptr<const TOrvaneIni>(std::make_unique<TOrvaneIniS>())
                             : std::unique_ptr<const TOrvaneIni>(std::make_unique<TOrvaneIniC>());
  sysCodePage_ = ini->SysCodePage();
  uiCodePage_ = ini->UICodePage();
  dbCodePage_ = ini->DBCodePage();
  uiConvertMode_ = ini->UIConvertMode();
  dbConvertMode_ = ini->DBConvertMode();
}

// ---- values ----

std::string TCodeConverter::ConvertText(int type, const std::string& text) const {
  // ASCII reads the same in both scripts and both code pages.
  if (!translator_ || !IsTextConversion(type) || IsAscii(text)) return text;
  std::string key = translatorLibrary_;
  key += '\0';
  key += static_cast<char>('0' + type);
  key += text;
  std::string translation;
  if (TranslationMemo::Instance().Find(key, translation)) return translation;
  translation = TranslateScript(*translator_, type, text);
  TranslationMemo::Instance().Store(std::move(key), translation);
  return translation;
}

Variant TCodeConverter::Convert(int type, const Variant& value) const {
  if (type == kNoConversion || !translator_ || value.IsEmpty() || value.IsNull()) return value;
  if (value.IsArray()) return ConvertArray(type, value);
  if (!IsTextConversion(type)) return value;
  return TextLike(value, ConvertText(type, value.ToString()));
}

Variant TCodeConverter::ConvertArray(int type, const Variant& array) const {
  Variant result = array;
  std::vector<Variant>& elements = result.ArrayMut().Elements();
  if (array.DimCount() == 1) {
    for (Variant& element : elements)
      element = element.IsArray() ? Convert(type, element) : TextLike(element, ConvertText(type, element.ToString()));
  } else if (array.DimCount() == 2) {
    for (Variant& element : elements) element = Convert(type, element);
  }
  return result;
}

Variant TCodeConverter::ConvertOrKeep(int type, const Variant& value) const {
  try {
    return Convert(type, value);
  } catch (const Exception&) {
    return value;
  } catch (const std::exception&) {
    return value;
  }
}

Variant TCodeConverter::ConvertForUI(const Variant& value) const { return Convert(uiConvertMode_, value); }

Variant TCodeConverter::ConvertFromUI(const Variant& value) const {
  return ConvertOrKeep(ReverseType(uiConvertMode_), value);
}

Variant TCodeConverter::ConvertFromDB(const Variant& value) const { return Convert(dbConvertMode_, value); }

Variant TCodeConverter::ConvertToDB(const Variant& value) const {
  return ConvertOrKeep(ReverseType(dbConvertMode_), value);
}

std::string TCodeConverter::ConvertBig5ToGB(const std::string& text) const { return ConvertText(kBig5ToGB, text); }

std::string TCodeConverter::ConvertGBToBig5(const std::string& text) const { return ConvertText(kGBToBig5, text); }

// ---- fonts, forms, dialogs ----

void TCodeConverter::ApplyFont(TFont& font, int mode) {
  int charset;
  switch (mode) {
    case 0: case 1: case 4: charset = GB2312_CHARSET; break;
    case 2: case 3: charset = CHINESEBIG5_CHARSET; break;
    default: return;
  }
  font.SetName("SimSun");
  font.SetCharset(charset);
}

void TCodeConverter::ConvertForm(TCustomForm& form, bool convertGrids) {
  if (!translator_) return;
  FormConversion(*this, uiConvertMode_, convertGrids).Run(form);
}

TModalResult TCodeConverter::ShowMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  if (text.empty()) return mrNone;
  const bool gb = uiCodePage_ == "936" || sysCodePage_ == "936";
  const std::unique_ptr<TForm, void (*)(TObject*)> dialog(
      CreateMessageDialog(gb ? text + kDialogTextPadding : text, type, buttons), &TObject::Free);
  if (auto* form = ObjectAs<TCustomForm>(Owner())) {
    if (form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
    dialog->SetCaption(form->Caption());
  }
  ApplyFont(dialog->Font(), uiConvertMode_);
  return dialog->ShowModal();
}

}  // namespace qv
