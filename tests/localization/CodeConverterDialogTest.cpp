// Message dialogs of the code-page converter, answered by a responder of
// the headless presenter that records what the dialog showed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "localization/CodeConverter.h"
#include "localization/ConverterInstallation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/graphics/Graphics.h"

namespace qv {
namespace {

using test::ConverterInstallation;
using test::kBig5System;
using test::kGBSystem;

struct ShownDialog {
  std::string message, caption, fontName;
  int charset = 0;
};

// Answers each dialog with its "No" button, after noting what it showed.
class DialogAnswers {
 public:
  DialogAnswers() {
    Application().SetPresenter(std::make_unique<HeadlessPresenter>([this](TCustomForm& form) {
      ShownDialog dialog{"", form.Caption(), form.Font().Name(), form.Font().Charset()};
      if (auto* text = ObjectAs<TControl>(form.FindComponent("Message"))) dialog.message = text->Caption();
      shown.push_back(dialog);
      if (auto* no = ObjectAs<TControl>(form.FindComponent("No"))) input::Click(*no);
    }));
  }
  ~DialogAnswers() { Application().SetPresenter(nullptr); }
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  std::vector<ShownDialog> shown;
};

struct FormFree {
  void operator()(TForm* form) const { TObject::Free(form); }
};

TEST(CodeConverterDialog, ShowsTheTextForTheInterface) {
  const struct {
    const char* locale;
    const char* codePages;
    const char* suffix;  // six blanks on a GB interface or system
    int charset;
  } cases[] = {
      {kGBSystem, "UICodePage=936\n", "      ", GB2312_CHARSET},
      {kBig5System, "UICodePage=950\n", "", CHINESEBIG5_CHARSET},
      {kBig5System, "UICodePage=936\n", "      ", GB2312_CHARSET},
      {kGBSystem, "UICodePage=950\n", "      ", CHINESEBIG5_CHARSET},
  };
  for (const auto& c : cases) {
    ConverterInstallation install(c.locale, c.codePages);
    DialogAnswers answers;
    std::unique_ptr<TForm, FormFree> owner(CreateForm<TForm>(nullptr));
    owner->SetCaption("报表查询");
    auto* converter = new TCodeConverter(owner.get());
    const std::size_t forms = Application().Forms().size();

    EXPECT_EQ(converter->ShowMessageDialog("确实要删除此方案吗？", mtConfirmation, MsgDlgButtons(mbYes, mbNo)), mrNo);
    ASSERT_EQ(answers.shown.size(), 1u) << c.locale << " " << c.codePages;
    const ShownDialog& dialog = answers.shown[0];
    EXPECT_EQ(dialog.message, std::string("确实要删除此方案吗？") + c.suffix) << c.locale << " " << c.codePages;
    EXPECT_EQ(dialog.caption, "报表查询");
    EXPECT_EQ(dialog.fontName, "SimSun");
    EXPECT_EQ(dialog.charset, c.charset) << c.locale << " " << c.codePages;
    EXPECT_EQ(Application().Forms().size(), forms) << "the dialog was not freed";
  }
}

TEST(CodeConverterDialog, MinimisedOwnerIsRestoredFirst) {
  ConverterInstallation install(kGBSystem, "UICodePage=936\n");
  std::unique_ptr<TForm, FormFree> owner(CreateForm<TForm>(nullptr));
  owner->SetWindowState(wsMinimized);
  auto* converter = new TCodeConverter(owner.get());
  TWindowState stateWhileShown = wsMinimized;
  Application().SetPresenter(std::make_unique<HeadlessPresenter>([&](TCustomForm& form) {
    stateWhileShown = owner->WindowState();
    form.SetModalResult(mrOk);
  }));
  EXPECT_EQ(converter->ShowMessageDialog("报表", mtInformation, MsgDlgButtons(mbOK)), mrOk);
  Application().SetPresenter(nullptr);
  EXPECT_EQ(stateWhileShown, wsNormal);
}

TEST(CodeConverterDialog, EmptyTextShowsNothing) {
  ConverterInstallation install(kGBSystem, "UICodePage=936\n");
  DialogAnswers answers;
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.ShowMessageDialog("", mtError, MsgDlgButtons(mbOK)), mrNone);
  EXPECT_TRUE(answers.shown.empty());
}

}  // namespace
}  // namespace qv
