// Applying a language document to a form: the property paths of attribute
// names, identifiers of colours, cursors and character sets, skipped
// attributes, which element applies to which component, exclusion and the
// load-component events.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "localization/LanguageController.h"
#include "platform/core/Collection.h"
#include "platform/ui/Form.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/controls/ListView.h"
#include "platform/ui/controls/Memo.h"
#include "platform/ui/controls/Panel.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/graphics/Graphics.h"

namespace qv {
namespace {

// A component with a collection, as a status bar has its panels.
class TBarPanel : public TCollectionItem {
  QV_OBJECT(TBarPanel, TCollectionItem)
  std::string Text;
};

const TClass& TBarPanel::StaticClass() {
  static const TClass cls =
      ClassBuilder<TBarPanel>("TBarPanel", &TCollectionItem::StaticClass())
          .String("Text", &TBarPanel::Text, &TBarPanel::Text);
  return cls;
}

class TPanelBar : public TComponent {
  QV_OBJECT(TPanelBar, TComponent)
  using TComponent::TComponent;
  TCollection& Panels() const { return *panels_; }

 private:
  std::unique_ptr<TCollection> panels_ = TCollection::Of<TBarPanel>();
};

const TClass& TPanelBar::StaticClass() {
  static const TClass cls =
      ClassBuilder<TPanelBar>("TPanelBar", &TComponent::StaticClass())
          .Object("Panels", TCollection::StaticClass(), [](const TPanelBar& b) { return &b.Panels(); });
  return cls;
}

class LangReaderTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    form->SetName("frmTest");
    lbl = Make<TLabel>(form, "lblName");
    edt = Make<TEdit>(form, "edtCode");
    cbo = Make<TComboBox>(form, "cboKind");
    cbo->SetStyle(csDropDownList);
    for (const char* item : {"One", "Two", "Three"}) cbo->Items().Add(item);
    cbo->SetItemIndex(1);
    memo = Make<TMemo>(form, "memNote");
    lv = Make<TListView>(form, "lvRows");
    for (int i = 0; i < 2; ++i) lv->Columns().Add();
    for (int i = 0; i < 5; ++i) lv->Items().Add()->SetCaption("row" + std::to_string(i));
    tree = Make<TTreeView>(form, "tvTree");
    TTreeNode* r = tree->Items().Add(nullptr, "r");
    tree->Items().AddChild(r, "c1");
    tree->Items().AddChild(r, "c2");
    tree->Items().Add(r, "s");
    pnl = Make<TPanel>(form, "pnlBox");
    inPanel = Make<TLabel>(pnl, "lblInPanel");
    bar = Make<TPanelBar>(form, "sbBar");
    bar->Panels().Add();
    bar->Panels().Add();
    controller = Make<TQvLangController>(form, "LangController");
  }
  void TearDown() override { Free(form); }

  template <class T>
  static T* Make(TComponent* owner, const char* name) {
    T* component = new T(owner);
    component->SetName(name);
    return component;
  }

  void Open(const std::string& xml) {
    controller->XMLText().SetText(xml);
    controller->SetActive(true);
  }
  void Apply(const std::string& xml, TComponent* root = nullptr) {
    Open(xml);
    controller->Reader().ReadComponent(root ? root : form);
  }


 public:
  // Handlers of the load-component events: the stage, component, element and the label's caption then.
  void Loading(const char* stage, TComponent* component, pugi::xml_node node) {
    events.push_back(std::string(stage) + ":" + component->Name() + ":" + node.name() + ":" + lbl->Caption());
  }
  void BeforeLoad(TComponent* component, pugi::xml_node node) { Loading("before", component, node); }
  void AfterLoad(TComponent* component, pugi::xml_node node) { Loading("after", component, node); }

 protected:

  TForm* form = nullptr;
  TLabel* lbl = nullptr;
  TEdit* edt = nullptr;
  TComboBox* cbo = nullptr;
  TMemo* memo = nullptr;
  TListView* lv = nullptr;
  TTreeView* tree = nullptr;
  TPanel* pnl = nullptr;
  TLabel* inPanel = nullptr;
  TPanelBar* bar = nullptr;
  TQvLangController* controller = nullptr;
  std::vector<std::string> events;
};

TEST_F(LangReaderTest, AttributeNamesArePropertyPaths) {
  const struct {
    const char* element;  // "" for the document element, which applies to the form
    const char* path;
    const char* value;
    std::function<std::string()> actual;
    std::string expected;
  } cases[] = {
      {"", "Caption", "成本报表", [&] { return form->Caption(); }, "成本报表"},
      {"lblName", "Caption", "名称", [&] { return lbl->Caption(); }, "名称"},
      {"lblName", "Hint", "The name", [&] { return lbl->Hint(); }, "The name"},
      {"lblName", "Visible", " False ", [&] { return std::to_string(lbl->Visible()); }, "0"},
      {"edtCode", "Font.Name", "Arial", [&] { return edt->Font().Name(); }, "Arial"},
      {"edtCode", "Font.Color", "clRed", [&] { return std::to_string(edt->Font().Color()); }, std::to_string(clRed)},
      {"edtCode", "Color", "clBtnFace", [&] { return std::to_string(edt->Color()); }, std::to_string(clBtnFace)},
      {"edtCode", "Cursor", "crHourGlass", [&] { return std::to_string(edt->Cursor()); }, "-11"},
      {"edtCode", "Cursor", "crHandPoint", [&] { return std::to_string(edt->Cursor()); }, "-21"},
      {"edtCode", "Font.Charset", "GB2312_CHARSET", [&] { return std::to_string(edt->Font().Charset()); }, "134"},
      {"edtCode", "Font.Charset", "chinesebig5_charset", [&] { return std::to_string(edt->Font().Charset()); }, "136"},
      {"cboKind", "Items_2", "第三", [&] { return cbo->Items()[2]; }, "第三"},
      {"memNote", "Lines_0", "First line", [&] { return memo->Lines()[0]; }, "First line"},
      {"lvRows", "Columns_1.Caption", "Amount", [&] { return lv->Columns()[1]->Caption(); }, "Amount"},
      {"lvRows", "Columns.Items_0.Caption", "Code", [&] { return lv->Columns()[0]->Caption(); }, "Code"},
      {"lvRows", "Items_4.Caption", "Fifth", [&] { return lv->Items()[4]->Caption(); }, "Fifth"},
      {"lvRows", "Items_3.ImageIndex", "2", [&] { return std::to_string(lv->Items()[3]->ImageIndex()); }, "2"},
      {"tvTree", "Items_2.Text", "Leaf", [&] { return tree->Items().Item(2)->Text(); }, "Leaf"},
      {"tvTree", "Items_3.ImageIndex", "5", [&] { return std::to_string(tree->Items().Item(3)->ImageIndex()); }, "5"},
      {"sbBar", "Panels.Items_1.Text", "Ready",
       [&] { return static_cast<TBarPanel*>(bar->Panels().Items(1))->Text; }, "Ready"},
  };
  for (const auto& c : cases) {
    const std::string attribute = std::string(c.path) + "=\"" + c.value + "\"";
    Apply(*c.element ? "<TfrmTest><" + std::string(c.element) + " " + attribute + "/></TfrmTest>"
                     : "<TfrmTest " + attribute + "/>");
    EXPECT_EQ(c.actual(), c.expected) << c.element << " " << c.path;
  }
  EXPECT_EQ(tree->Items().Item(1)->Text(), "c1");
}

TEST_F(LangReaderTest, ComboItemsBeyondTheEndAreAppendedAndTheSelectionKept) {
  Apply(R"(<TfrmTest><cboKind Items_5="Sixth" ItemIndex="0"/></TfrmTest>)");
  EXPECT_EQ(cbo->Items().ToVector(), (std::vector<std::string>{"One", "Two", "Three", "", "", "Sixth"}));
  EXPECT_EQ(cbo->ItemIndex(), 1);
  EXPECT_EQ(cbo->Text(), "Two");
}

TEST_F(LangReaderTest, AHugeLineIndexIsSkippedRatherThanFillingMemory) {
  Apply(R"(<TfrmTest><cboKind Items_2000000000="far" Items_3="Four"/></TfrmTest>)");
  EXPECT_EQ(cbo->Items().ToVector(), (std::vector<std::string>{"One", "Two", "Three", "Four"}));
}

TEST_F(LangReaderTest, AttributesThatFitNothingAreSkippedOneByOne) {
  lbl->SetTag(7);
  lbl->SetLeft(12);
  Apply(R"(<TfrmTest>
             <lblName Tag_1="9" Left="wide" Nothing="1" Font.Nothing="1" Items_1="x" Font_1.Name="Bad"
                      Font="Arial" Caption="after"/>
             <lvRows Columns_7.Caption="x" Items_9.Caption="y" Columns_1.Nothing.Caption="z"/>
           </TfrmTest>)");
  EXPECT_EQ(lbl->Tag(), 7);
  EXPECT_EQ(lbl->Left(), 12);
  EXPECT_NE(lbl->Font().Name(), "Bad");
  EXPECT_EQ(lbl->Caption(), "after");
  EXPECT_EQ(lv->Columns().Count(), 2);
  EXPECT_EQ(lv->Columns()[1]->Caption(), "");
  EXPECT_EQ(lv->Items().Count(), 5);
}

TEST_F(LangReaderTest, FirstElementInDocumentOrderWins) {
  Apply(R"(<TfrmTest>
             <group><lblName Caption="deep"/></group>
             <lblName Caption="later" Hint="later"/>
           </TfrmTest>)");
  EXPECT_EQ(lbl->Caption(), "deep");
  EXPECT_EQ(lbl->Hint(), "");
}

TEST_F(LangReaderTest, ExcludedComponentStillLetsItsOwnedComponentsBeRead) {
  TStringList excluded{"  PNLBOX "};
  controller->SetExcludeControls(&excluded);
  Apply(R"(<TfrmTest><pnlBox Caption="no"/><lblInPanel Caption="yes"/></TfrmTest>)");
  EXPECT_EQ(pnl->Caption(), "");
  EXPECT_EQ(inPanel->Caption(), "yes");
}

TEST_F(LangReaderTest, DocumentElementAppliesToFormsOnly) {
  Apply(R"(<Root Caption="root"><lblInPanel Caption="inside"/></Root>)", pnl);
  EXPECT_EQ(pnl->Caption(), "");
  EXPECT_EQ(form->Caption(), "");
  EXPECT_EQ(inPanel->Caption(), "inside");
}

TEST_F(LangReaderTest, LoadComponentEventsSurroundEachElementInOwnershipOrder) {
  controller->BeforeLoadComponent = MethodOf<&LangReaderTest::BeforeLoad>(this);
  controller->AfterLoadComponent = MethodOf<&LangReaderTest::AfterLoad>(this);
  Apply(R"(<TfrmTest Caption="form"><edtCode Text="e"/><lblName Caption="new"/></TfrmTest>)");
  EXPECT_EQ(events, (std::vector<std::string>{"before:frmTest:TfrmTest:", "after:frmTest:TfrmTest:",
                                              "before:lblName:lblName:", "after:lblName:lblName:new",
                                              "before:edtCode:edtCode:new", "after:edtCode:edtCode:new"}));
}

TEST_F(LangReaderTest, SingleAttributesAreReadByPositionOrName) {
  Open(R"(<TfrmTest><lblName Caption="c" Hint="h"/></TfrmTest>)");
  const std::unique_ptr<ILangRead> reader =
      TReaderFactory::CreateReader(lbl, controller->Document()->FirstElement("lblName"));
  reader->ReadAttribute("Hint");
  EXPECT_EQ(lbl->Hint(), "h");
  EXPECT_EQ(lbl->Caption(), "");
  reader->ReadAttribute(5);
  reader->ReadAttribute("caption");  // attribute names are exact
  EXPECT_EQ(lbl->Caption(), "");
  reader->ReadAttribute(0);
  EXPECT_EQ(lbl->Caption(), "c");
}

}  // namespace
}  // namespace qv
