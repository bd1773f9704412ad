// Converting a whole form for the interface: texts, fonts, owner-drawn
// styles and the class rules, on a form with one control of each kind.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "controls/SelectPnl.h"
#include "localization/CodeConverter.h"
#include "localization/ConverterInstallation.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/CheckBox.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/ListView.h"
#include "platform/ui/controls/Memo.h"
#include "platform/ui/controls/Menus.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/graphics/Graphics.h"

namespace qv {
namespace {

using test::ConverterInstallation;
using test::kBig5System;
using test::kGBSystem;

const std::string kTraditionalUI = "UICodePage=950\nDBCodePage=936\n";
const std::string kSimplifiedUI = "UICodePage=936\n";

class SampleForm {
 public:
  SampleForm() : form(CreateForm<TForm>(nullptr)) {
    form->SetCaption("报表查询");
    form->SetHint("请选择报表");
    label = Add<TLabel>();
    label->SetCaption("开启报表");
    label->SetHint("后台");
    edit = Add<TEdit>();
    edit->SetText("报表");
    edit->SetHint("请输入");
    check = Add<TCheckBox>();
    check->SetCaption("失败");
    BuildCombos();
    memo = Add<TMemo>();
    memo->Lines().SetText("第一行报表\r\n第二行");
    listBox = Add<TListBox>();
    listBox->Items().SetText("开启\r\n关闭\r\n");
    listBox->SetItemIndex(1);
    BuildMenus();
    BuildListViews();
    BuildPanel();
    grid = Add<TStringGrid>();
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetCells(1, 1, "价格");
    tree = Add<TTreeView>();
    tree->Items().AddChild(tree->Items().Add(nullptr, "报表"), "开启");
  }
  ~SampleForm() { TObject::Free(form); }
  SampleForm(const SampleForm&) = delete;
  SampleForm& operator=(const SampleForm&) = delete;

  // Every text the conversion may touch, but the form's caption.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts = {form->Hint(), label->Caption(), label->Hint(), edit->Text(), edit->Hint(),
                                      check->Caption(), editCombo->Items().Text(), editCombo->Text(),
                                      memo->Lines().Text(), listBox->Items().Text(), menuItem->Caption(),
                                      report->Columns()[0]->Caption(), report->Items()[0]->Caption(),
                                      report->Items()[0]->SubItems()[0], panel->HintWord(),
                                      (*panel->ChildHints())[0], (*panel->BeginWords())[0],
                                      (*panel->FinalWords())[0], panel->ListBox->Items()[0]->Caption(),
                                      grid->Cells(1, 1)};
    return texts;
  }

  TForm* form;
  TLabel* label;
  TEdit* edit;
  TCheckBox* check;
  TComboBox *editCombo, *listCombo, *simpleCombo;
  TObject itemData;  // attached to an item of editCombo
  TMemo* memo;
  TListBox* listBox;
  TMainMenu* mainMenu;
  TMenuItem* menuItem;
  TPopupMenu* popup;
  TListView *report, *bare;
  TSelectPanel* panel;
  TStringGrid* grid;
  TTreeView* tree;

 private:
  template <class T>
  T* Add() {
    T* control = new T(form);
    if constexpr (std::is_base_of_v<TControl, T>) control->SetParent(form);
    return control;
  }

  void BuildCombos() {
    editCombo = Add<TComboBox>();
    editCombo->Items().SetText("开启\r\n关闭\r\n报表\r\n");
    editCombo->Items().SetObjects(1, &itemData);
    editCombo->SetItemIndex(2);
    listCombo = Add<TComboBox>();
    listCombo->SetStyle(csDropDownList);
    listCombo->Items().SetText("开启\r\n关闭\r\n");
    simpleCombo = Add<TComboBox>();
    simpleCombo->SetStyle(csSimple);
    simpleCombo->Items().SetText("开启\r\n");
  }

  void BuildMenus() {
    mainMenu = Add<TMainMenu>();
    menuItem = new TMenuItem(form);
    menuItem->SetCaption("报表");
    mainMenu->Items().Add(menuItem);
    popup = Add<TPopupMenu>();
  }

  void BuildListViews() {
    report = Add<TListView>();
    report->SetViewStyle(vsReport);
    report->Columns().Add()->SetCaption("名称");
    report->Columns().Add()->SetCaption("价格");
    report->Items().AddItem("开启", {"后台"});
    bare = Add<TListView>();
    bare->Items().Add()->SetCaption("开启");
  }

  void BuildPanel() {
    panel = Add<TSelectPanel>();
    TStringList hints{"请选择", "开始"};
    panel->SetChildHints(&hints);
    TStringList begin{"开始", "自"};
    panel->SetBeginWords(&begin);
    TStringList finalWords{"结束", "至"};
    panel->SetFinalWords(&finalWords);
    panel->SetHintWord("区间选择");
    panel->ListBox->AddRow({"报表", "价格"});
  }
};

// The application's fonts are shared by all tests: kept and given back.
class CodeConverterForm : public ::testing::Test {
 protected:
  CodeConverterForm() {
    for (int i = 0; i < 3; ++i) saved_[i].Assign(*ScreenFonts()[i]);
  }
  ~CodeConverterForm() override {
    for (int i = 0; i < 3; ++i) ScreenFonts()[i]->Assign(saved_[i]);
  }

  static std::vector<TFont*> ScreenFonts() {
    return {&Application().IconFont(), &Application().HintFont(), &Application().MenuFont()};
  }
  static void ExpectFont(const TFont& font, const char* name, int charset, const char* which) {
    EXPECT_EQ(font.Name(), name) << which;
    EXPECT_EQ(font.Charset(), charset) << which;
  }

 private:
  TFont saved_[3];
};

TEST_F(CodeConverterForm, FormCaptionFollowsTheSystemAndTextsTheInterface) {
  const struct {
    const char* locale;
    const std::string& codePages;
    const char* formCaption;
    const char* labelCaption;
  } cases[] = {
      {kBig5System, kTraditionalUI, "報表查詢", "開啟報表"},
      {kGBSystem, kTraditionalUI, "报表查询", "開啟報表"},
      {kBig5System, kSimplifiedUI, "報表查詢", "开启报表"},
      {kGBSystem, kSimplifiedUI, "报表查询", "开启报表"},
  };
  for (const auto& c : cases) {
    ConverterInstallation install(c.locale, c.codePages);
    TCodeConverter converter(nullptr);
    SampleForm sample;
    converter.ConvertForm(*sample.form, true);
    EXPECT_EQ(sample.form->Caption(), c.formCaption) << c.locale << " " << c.codePages;
    EXPECT_EQ(sample.label->Caption(), c.labelCaption) << c.locale << " " << c.codePages;
  }
}

TEST_F(CodeConverterForm, GBInterfaceOnGBSystemLeavesTheFormAlone) {
  ConverterInstallation install(kGBSystem, "UICodePage=936\nDBCodePage=950\n");
  TCodeConverter converter(nullptr);
  SampleForm sample;
  const std::vector<std::string> before = sample.Texts();
  const TFont labelFont;
  converter.ConvertForm(*sample.form, true);
  EXPECT_EQ(sample.Texts(), before);
  EXPECT_TRUE(sample.label->Font().SameAs(labelFont));
  EXPECT_EQ(sample.editCombo->Style(), csDropDown);
  EXPECT_EQ(sample.listBox->Style(), lbStandard);
  EXPECT_FALSE(sample.mainMenu->OwnerDraw());
  EXPECT_EQ(Application().MenuFont().Charset(), DEFAULT_CHARSET);
}

TEST_F(CodeConverterForm, TraditionalInterfaceConvertsEveryTextButEditTexts) {
  ConverterInstallation install(kGBSystem, kTraditionalUI);
  TCodeConverter converter(nullptr);
  SampleForm sample;
  converter.ConvertForm(*sample.form, true);

  const std::vector<std::string> expected = {"請選擇報表", "開啟報表", "後臺", "报表", "請輸入", "失敗",
                                             "開啟\r\n關閉\r\n報表\r\n", "報表", "第一行報表\r\n第二行\r\n",
                                             "開啟\r\n關閉\r\n", "報表", "名稱", "開啟", "後臺", "區間選擇",
                                             "請選擇", "開始", "結束", "報表", "價格"};
  EXPECT_EQ(sample.Texts(), expected);
  EXPECT_EQ(sample.report->Columns()[1]->Caption(), "價格");
  EXPECT_EQ(sample.panel->ListBox->Items()[0]->SubItems()[0], "價格");
  // The panel shows its converted words and hints on its own controls.
  EXPECT_EQ(sample.panel->chkUserChoice->Caption(), "區間選擇");
  EXPECT_EQ(sample.panel->chkUserChoice->Hint(), "請選擇");
  EXPECT_EQ(sample.panel->lblBegin->Caption(), "開始");
  // A list view without columns is left alone.
  EXPECT_EQ(sample.bare->Items()[0]->Caption(), "开启");
}

TEST_F(CodeConverterForm, TraditionalInterfaceSetsBig5FontsAndOwnerDrawing) {
  ConverterInstallation install(kGBSystem, kTraditionalUI);
  TCodeConverter converter(nullptr);
  SampleForm sample;
  converter.ConvertForm(*sample.form, true);

  for (TControl* control : std::vector<TControl*>{sample.label, sample.edit, sample.editCombo, sample.report,
                                                  sample.panel, sample.grid})
    ExpectFont(control->Font(), "SimSun", CHINESEBIG5_CHARSET, control->ClassName().c_str());
  for (TFont* font : ScreenFonts()) ExpectFont(*font, "SimSun", CHINESEBIG5_CHARSET, "screen font");
  EXPECT_TRUE(sample.mainMenu->OwnerDraw());
  EXPECT_TRUE(sample.popup->OwnerDraw());
  EXPECT_EQ(sample.listBox->Style(), lbOwnerDrawFixed);
  EXPECT_EQ(sample.listBox->ItemIndex(), 1);
}

// Combo boxes end owner-drawn with a fixed height, each showing an item.
TEST_F(CodeConverterForm, TraditionalInterfaceCombosKeepOrGainASelection) {
  ConverterInstallation install(kGBSystem, kTraditionalUI);
  TCodeConverter converter(nullptr);
  SampleForm sample;
  converter.ConvertForm(*sample.form, true);

  EXPECT_EQ(sample.editCombo->Style(), csOwnerDrawFixed);
  EXPECT_EQ(sample.editCombo->ItemIndex(), 2);
  EXPECT_EQ(sample.editCombo->Text(), "報表");
  EXPECT_EQ(sample.editCombo->Items().Objects(1), &sample.itemData);
  EXPECT_EQ(sample.listCombo->Style(), csOwnerDrawFixed);
  EXPECT_EQ(sample.listCombo->ItemIndex(), 0);
  EXPECT_EQ(sample.listCombo->Text(), "開啟");
  // A simple combo box keeps its style, but it too shows an item.
  EXPECT_EQ(sample.simpleCombo->Style(), csSimple);
  EXPECT_EQ(sample.simpleCombo->ItemIndex(), 0);
}

// UICodePage 936 on a Big5 system: no text changes but the form caption;
// fonts and drawing take the GB character set.
TEST_F(CodeConverterForm, GBInterfaceOnBig5SystemOnlyFixesFontsAndDrawing) {
  ConverterInstallation install(kBig5System, kSimplifiedUI);
  TCodeConverter converter(nullptr);
  ASSERT_EQ(converter.UIConvertMode(), 4);
  SampleForm sample;
  const std::vector<std::string> before = sample.Texts();
  converter.ConvertForm(*sample.form, true);

  EXPECT_EQ(sample.Texts(), before);
  EXPECT_EQ(sample.form->Caption(), "報表查詢");
  for (TControl* control : std::vector<TControl*>{sample.label, sample.editCombo, sample.listBox})
    ExpectFont(control->Font(), "SimSun", GB2312_CHARSET, control->ClassName().c_str());
  for (TFont* font : ScreenFonts()) ExpectFont(*font, "SimSun", GB2312_CHARSET, "screen font");
  EXPECT_TRUE(sample.mainMenu->OwnerDraw());
  EXPECT_TRUE(sample.popup->OwnerDraw());
  EXPECT_EQ(sample.editCombo->Style(), csOwnerDrawVariable);
  EXPECT_EQ(sample.editCombo->ItemIndex(), 2);
  EXPECT_EQ(sample.listCombo->Style(), csOwnerDrawFixed);
  EXPECT_EQ(sample.listCombo->ItemIndex(), -1);
  EXPECT_EQ(sample.simpleCombo->Style(), csSimple);
  EXPECT_EQ(sample.listBox->Style(), lbOwnerDrawFixed);
}

// Grids and tree views, whose texts may be many.
TEST_F(CodeConverterForm, GridCellsAndTreeNodesOnlyWhenAsked) {
  ConverterInstallation install(kGBSystem, kTraditionalUI);
  TCodeConverter converter(nullptr);
  for (bool convertGrids : {false, true}) {
    SampleForm sample;
    converter.ConvertForm(*sample.form, convertGrids);
    EXPECT_EQ(sample.grid->Cells(1, 1), convertGrids ? "價格" : "价格");
    EXPECT_EQ(sample.tree->Items()[0]->Text(), convertGrids ? "報表" : "报表");
    EXPECT_EQ(sample.tree->Items()[1]->Text(), convertGrids ? "開啟" : "开启");
    EXPECT_EQ(sample.label->Caption(), "開啟報表");
  }
}

}  // namespace
}  // namespace qv
