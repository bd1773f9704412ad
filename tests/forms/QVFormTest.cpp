// The base form: its published parts, the component pass at creation, the
// localized-text lookup, the language files of its class chain, the one-time
// text conversion and its message box.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "controls/F2Button.h"
#include "controls/QvEdit.h"
#include "controls/SelectPnl.h"
#include "forms/base/DisabledImage.h"
#include "forms/base/QVForm.h"
#include "localization/CodeConverter.h"
#include "localization/LanguageController.h"
#include "localization/LanguageInstallation.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/graphics/Bitmap.h"

namespace qv {
namespace {

// ---- forms of a small class chain, as the report forms derive ----

class TfrmChainBase : public TQVForm {
  QV_OBJECT(TfrmChainBase, TQVForm)
  explicit TfrmChainBase(TComponent* owner) : TQVForm(owner) {
    lblA = AddLabel("lblA");
    lblB = AddLabel("lblB");
  }
  void FormCreate(TObject* sender) override {
    ++baseCreates;
    TQVForm::FormCreate(sender);
  }

  TLabel* lblA;
  TLabel* lblB;
  int baseCreates = 0;

 private:
  TLabel* AddLabel(const char* name) {
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(this);
    return label;
  }
};

class TfrmChainLeaf : public TfrmChainBase {
  QV_OBJECT(TfrmChainLeaf, TfrmChainBase)
  using TfrmChainBase::TfrmChainBase;
};

const TClass& TfrmChainBase::StaticClass() {
  static const TClass cls = ClassBuilder<TfrmChainBase>("TfrmChainBase", &TQVForm::StaticClass());
  return cls;
}

const TClass& TfrmChainLeaf::StaticClass() {
  static const TClass cls = ClassBuilder<TfrmChainLeaf>("TfrmChainLeaf", &TfrmChainBase::StaticClass());
  return cls;
}

using test::LanguageInstallation;

struct FormFree {
  void operator()(TObject* form) const { TObject::Free(form); }
};
template <class T>
using FormPtr = std::unique_ptr<T, FormFree>;

// ---- published parts ----

TEST(QVFormParts, PublishesItsComponentsAndHandlersByName) {
  LanguageInstallation install;
  install.Configure("936");
  FormPtr<TQVForm> form(CreateForm<TQVForm>(nullptr));

  const TPropInfo* converter = GetPropInfo(form.get(), "QvConverter");
  const TPropInfo* controller = GetPropInfo(form.get(), "LangController");
  ASSERT_TRUE(converter && controller);
  EXPECT_EQ(GetObjectProp(*form, *converter), form->QvConverter);
  EXPECT_EQ(GetObjectProp(*form, *controller), form->LangController);
  EXPECT_EQ(form->FindComponent("QvConverter"), form->QvConverter);
  EXPECT_EQ(form->FindComponent("LangController"), form->LangController);
  EXPECT_EQ(form->QvConverter->DesignType(), dtClient);
  EXPECT_FALSE(form->LangController->Active());
  EXPECT_NE(form->MethodAddress("FormCreate"), nullptr);
  EXPECT_NE(form->MethodAddress("FormShow"), nullptr);

  EXPECT_TRUE(form->KeyPreview());
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_TRUE(form->ShowHint());
  EXPECT_EQ(form->Font().Name(), "宋体");
  EXPECT_EQ(form->Font().Height(), -13);
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_TRUE(form->AutoLoadLanguage());
  EXPECT_FALSE(form->TextsConverted());
}

TEST(QVFormParts, DescendantsCreateHandlerRunsAndCallsTheBase) {
  LanguageInstallation install;
  install.Configure("936");
  FormPtr<TfrmChainLeaf> form(CreateForm<TfrmChainLeaf>(nullptr));
  EXPECT_EQ(form->baseCreates, 1);
  // The base pass ran too: it sets the flags anew.
  form->SetAutoLoadLanguage(false);
  form->OnCreate(form.get());
  EXPECT_EQ(form->baseCreates, 2);
  EXPECT_TRUE(form->AutoLoadLanguage());
}

// ---- the component pass at creation ----

// A one-cell picture: a dark square on a teal background.
void PaintOneCell(TBitmap& picture) {
  picture.SetSize(4, 4);
  picture.Canvas().Brush().SetColor(clTeal);
  picture.Canvas().FillRect({0, 0, 4, 4});
  picture.Canvas().Brush().SetColor(clBlack);
  picture.Canvas().FillRect({1, 1, 3, 3});
}

// Gives a button a one-cell picture of its own.
template <class Button>
void GiveOneCell(Button& button, TBitmap& picture) {
  PaintOneCell(picture);
  button.SetGlyph(&picture);
  button.SetNumGlyphs(1);
}

// Paints the picture a button already holds as one cell.
void RepaintAsOneCell(TSpeedButton& button) {
  PaintOneCell(*ObjectAs<TBitmap>(button.Glyph()));
  button.SetNumGlyphs(1);
}

class QVFormCreation : public ::testing::Test {
 protected:
  // A base form with its components added; Create() runs its create
  // handler, as CreateForm does once a descendant's constructor has built them.
  void Build(const std::string& codePage) {
    install.Configure(codePage);
    form.reset(new TQVForm(nullptr));
  }
  void Create() { form->AfterConstruction(); }
  template <class T>
  T& Add(const char* name) {
    T* component = new T(form.get());
    component->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>) component->SetParent(form.get());
    return *component;
  }

  LanguageInstallation install;
  TBitmap oneCell, twoCells, bitOneCell;
  FormPtr<TQVForm> form;
};

TEST_F(QVFormCreation, ClearsTheInputMethodOfEveryControl) {
  Build("936");
  TEdit& edit = Add<TEdit>("edName");
  edit.SetImeName("Chinese (Simplified) - Microsoft Pinyin");
  Create();
  EXPECT_EQ(edit.ImeName(), "");
}

TEST_F(QVFormCreation, EnglishInterfaceShowsEveryFontAsTahoma) {
  const struct {
    const char* codePage;
    const char* fontName;
    int charset;
  } cases[] = {
      {"437", "Tahoma", GB2312_CHARSET},
      {"936", "宋体", DEFAULT_CHARSET},
      {"950", "宋体", DEFAULT_CHARSET},
  };
  for (const auto& c : cases) {
    Build(c.codePage);
    TLabel& label = Add<TLabel>("lblTitle");
    TEdit& edit = Add<TEdit>("edName");
    Create();
    for (const TControl* control : {static_cast<TControl*>(&label), static_cast<TControl*>(&edit)}) {
      EXPECT_EQ(control->Font().Name(), c.fontName) << c.codePage << " " << control->Name();
      EXPECT_EQ(control->Font().Charset(), c.charset) << c.codePage << " " << control->Name();
    }
  }
}

TEST_F(QVFormCreation, OneCellButtonsGetTheirDisabledCell) {
  Build("936");
  TBitBtn& bitOne = Add<TBitBtn>("btnOne");
  GiveOneCell(bitOne, bitOneCell);
  TBitmap expected;
  expected.Assign(bitOneCell);
  AddDisabledImage(expected);

  TBitBtn& bitTwo = Add<TBitBtn>("btnTwo");
  GiveOneCell(bitTwo, twoCells);
  bitTwo.SetNumGlyphs(2);
  TSpeedButton& speed = Add<TSpeedButton>("sbOne");
  GiveOneCell(speed, oneCell);
  TSpeedButton& bare = Add<TSpeedButton>("sbBare");  // no picture at all
  Create();

  EXPECT_EQ(bitOne.NumGlyphs(), 2);
  ASSERT_EQ(bitOneCell.Width(), 8);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(bitOneCell.PixelAt(x, y), expected.PixelAt(x, y)) << x << "," << y;
  EXPECT_NE(bitOneCell.PixelAt(5, 1), bitOneCell.PixelAt(1, 1)) << "the second cell is embossed";

  EXPECT_EQ(bitTwo.NumGlyphs(), 2);
  EXPECT_EQ(twoCells.Width(), 4) << "a button with two cells is left alone";
  EXPECT_EQ(speed.NumGlyphs(), 2);
  EXPECT_EQ(oneCell.Width(), 8);
  EXPECT_EQ(bare.NumGlyphs(), 1) << "an empty picture has no cell to complete";
}

TEST_F(QVFormCreation, CompletesTheButtonsInsideLookupEditsAndSelectionPanels) {
  Build("936");
  auto& panel = Add<TSelectPanel>("spItem");
  auto& edit = Add<TQvBtnDBEdit>("edItem");
  const std::vector<TSpeedButton*> completed = {panel.btnList, panel.btnDelete, panel.btnClear, edit.F2Button()};
  for (TSpeedButton* button : completed) RepaintAsOneCell(*button);
  RepaintAsOneCell(*panel.btnBegin);  // not one of the list buttons
  Create();

  for (TSpeedButton* button : completed) {
    EXPECT_EQ(button->NumGlyphs(), 2) << button->Name();
    EXPECT_EQ(ObjectAs<TBitmap>(button->Glyph())->Width(), 8) << button->Name();
  }
  EXPECT_EQ(panel.btnBegin->NumGlyphs(), 1);
}

// ---- the localized-text lookup ----

struct LookupCase {
  const char* name;
  const char* codePage;
  const char* language;  // folder the file is written to; nullptr: no file, no folder
  const char* file;
  bool convertDefault;
  const char* expected;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class QVFormLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(QVFormLookup, FindsTheTextOrFallsBackToTheDefault) {
  const LookupCase& c = GetParam();
  LanguageInstallation install;
  install.Configure(c.codePage);
  if (c.language) install.ClientFile(c.language, "TfrmX.Lng", c.file);
  FormPtr<TQVForm> form(CreateForm<TQVForm>(nullptr));
  EXPECT_EQ(form->LocalText("TfrmX", "sProjNameError", "报表", c.convertDefault), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, QVFormLookup,
    ::testing::Values(
        LookupCase{"NoLanguageFolder", "950", nullptr, "", false, "报表"},
        LookupCase{"NoLanguageFolderConvertedDefault", "950", nullptr, "", true, "報表"},
        LookupCase{"ElementAtAnyDepth", "936", "CHS",
                   R"(<TfrmX><Texts><sProjNameError Msg="方案名称错误"/></Texts></TfrmX>)", false, "方案名称错误"},
        LookupCase{"FirstOfTwoElements", "936", "CHS",
                   R"(<TfrmX><sProjNameError Msg="第一"/><sProjNameError Msg="第二"/></TfrmX>)", false, "第一"},
        LookupCase{"FoundTextIsNotConverted", "950", "CHT", R"(<TfrmX><sProjNameError Msg="方案"/></TfrmX>)", true,
                   "方案"},
        LookupCase{"NoSuchKey", "936", "CHS", R"(<TfrmX><sOther Msg="其他"/></TfrmX>)", false, "报表"},
        LookupCase{"MalformedFile", "950", "CHT", R"(<TfrmX><sProjNameError Msg="方案"/>)", true, "報表"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QVFormLookupSection, SectionNamesTheFileAndTheDefaultMayBeTheResult) {
  LanguageInstallation install;
  install.Configure("936");
  install.ClientFile("CHS", "TfrmX.Lng", R"(<TfrmX><sKey Msg="甲"/></TfrmX>)");
  FormPtr<TQVForm> form(CreateForm<TQVForm>(nullptr));
  std::string text = "乙";
  form->GetText("TfrmY", "sKey", text, false, text);
  EXPECT_EQ(text, "乙");
  form->GetText("TfrmX", "sKey", text, false, text);
  EXPECT_EQ(text, "甲");
}

// ---- the language files of the class chain ----

// Which files exist, how they are applied, and what the form then shows.
struct ChainCase {
  const char* name;
  std::vector<const char*> files;  // of TQVForm, TfrmChainBase, TfrmChainLeaf
  void (*apply)(TfrmChainLeaf& form);
  const char *caption, *hint, *a, *b;
};

const char* const kBaseFile = R"(<TQVForm Caption="基础" Hint="基础提示"><lblA Caption="甲0"/><lblB Caption="乙0"/></TQVForm>)";
const char* const kMiddleFile = R"(<TfrmChainBase Caption="中层"><lblA Caption="甲1"/></TfrmChainBase>)";
const char* const kLeafFile = R"(<TfrmChainLeaf><lblB Caption="乙2"/></TfrmChainLeaf>)";

void WholeChain(TfrmChainLeaf& form) { form.ApplyLanguagePackages(&form, true); }
void OwnChain(TfrmChainLeaf& form) { form.ApplyLanguagePackagesOwn(&form, true); }
void OwnClassOnly(TfrmChainLeaf& form) { form.ApplyLanguagePackages(&form, false); }
void Show(TfrmChainLeaf& form) { form.Show(); }
void ShowWithoutAutoLoad(TfrmChainLeaf& form) {
  form.SetAutoLoadLanguage(false);
  form.Show();
}

void PrintTo(const ChainCase& c, std::ostream* os) { *os << c.name; }

class QVFormChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(QVFormChain, LaterClassesOverrideEarlierOnes) {
  const ChainCase& c = GetParam();
  LanguageInstallation install;
  install.Configure("936");
  const char* const names[] = {"TQVForm", "TfrmChainBase", "TfrmChainLeaf"};
  for (std::size_t i = 0; i < c.files.size(); ++i)
    if (c.files[i]) install.ClientFile("CHS", std::string(names[i]) + ".Lng", c.files[i]);
  FormPtr<TfrmChainLeaf> form(CreateForm<TfrmChainLeaf>(nullptr));

  c.apply(*form);
  EXPECT_EQ(form->Caption(), c.caption);
  EXPECT_EQ(form->Hint(), c.hint);
  EXPECT_EQ(form->lblA->Caption(), c.a);
  EXPECT_EQ(form->lblB->Caption(), c.b);
}

INSTANTIATE_TEST_SUITE_P(
    Files, QVFormChain,
    ::testing::Values(
        ChainCase{"WholeChain", {kBaseFile, kMiddleFile, kLeafFile}, WholeChain, "中层", "基础提示", "甲1", "乙2"},
        ChainCase{"OwnChainSkipsTheBaseForm", {kBaseFile, kMiddleFile, kLeafFile}, OwnChain, "中层", "", "甲1", "乙2"},
        ChainCase{"OwnClassOnly", {kBaseFile, kMiddleFile, kLeafFile}, OwnClassOnly, "", "", "", "乙2"},
        ChainCase{"MissingFileIsSkipped", {kBaseFile, nullptr, kLeafFile}, WholeChain, "基础", "基础提示", "甲0", "乙2"},
        ChainCase{"MalformedFileIsSkipped", {kBaseFile, "<TfrmChainBase Caption=", kLeafFile}, WholeChain, "基础",
                  "基础提示", "甲0", "乙2"},
        ChainCase{"ShowingAppliesTheWholeChain", {kBaseFile, kMiddleFile, kLeafFile}, Show, "中层", "基础提示", "甲1",
                  "乙2"},
        ChainCase{"ShowingWithoutAutoLoad", {kBaseFile, kMiddleFile, kLeafFile}, ShowWithoutAutoLoad, "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- converting the form's texts ----

TEST(QVFormConversion, ConvertsTheTextsOnce) {
  LanguageInstallation install;
  install.Configure("950");
  FormPtr<TfrmChainLeaf> form(CreateForm<TfrmChainLeaf>(nullptr));
  form->lblA->SetCaption("报表");

  form->ConvertFormTexts();
  EXPECT_EQ(form->lblA->Caption(), "報表");
  EXPECT_TRUE(form->TextsConverted());

  form->lblA->SetCaption("报表");
  form->ConvertFormTexts();
  EXPECT_EQ(form->lblA->Caption(), "报表");
}

// ---- the message box ----

TEST(QVFormMessageBox, IsCaptionedByTheFormAndRestoresIt) {
  LanguageInstallation install;
  install.Configure("936");
  FormPtr<TQVForm> form(CreateForm<TQVForm>(nullptr));
  form->SetCaption("报表查询");
  form->SetWindowState(wsMinimized);
  std::string caption, message;
  TWindowState state = wsMinimized;
  Application().SetPresenter(std::make_unique<HeadlessPresenter>([&](TCustomForm& dialog) {
    caption = dialog.Caption();
    if (auto* text = ObjectAs<TControl>(dialog.FindComponent("Message"))) message = text->Caption();
    state = form->WindowState();
    dialog.SetModalResult(mrNo);
  }));
  const TModalResult answer = form->MessageBox("确实要删除此方案吗？", mtConfirmation, MsgDlgButtons(mbYes, mbNo));
  Application().SetPresenter(nullptr);

  EXPECT_EQ(answer, mrNo);
  EXPECT_EQ(caption, "报表查询");
  EXPECT_EQ(message, "确实要删除此方案吗？      ");
  EXPECT_EQ(state, wsNormal);
}

}  // namespace
}  // namespace qv
