// The condition form's message records and dialogs: message codes reported
// and recorded, free texts, templates from the host, dialogs with their
// buttons, suppression while a page changes, and the focus after a dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "forms/SessionFormTest.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Messages.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/PageControl.h"

namespace qv::test {
namespace {

class ReportMessageTest : public SessionFormTest {
 protected:
  void SetUp() override {
    SessionFormTest::SetUp();
    host->Templates["I;000004"] = "作业 %s 已产生";
    host->Templates["E;000013"] = "资料错误";
  }
};

TEST_F(ReportMessageTest, NegativeNumberIsRecordedNotShown) {
  form->ErrorCodes = "W;000002; ";
  form->ReportMessage("I;-000004;J0000001");
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(form->ErrorCodes, "W;000002; I;-000004;J0000001; ");
  EXPECT_EQ(form->ErrorTexts, "作业 J0000001 已产生; ");
  ASSERT_EQ(host->CallsOf("GetMessage").size(), 1u);
  EXPECT_EQ(host->CallsOf("GetMessage")[0].Args[1].ToString(), "000004");  // the "-" is not part of the number
}

TEST_F(ReportMessageTest, EmptyCodeClearsBothRecords) {
  form->ReportMessage("I;-000004;J1");
  form->RecordText("connection refused");
  form->ReportMessage("");
  EXPECT_EQ(form->ErrorCodes, "");
  EXPECT_EQ(form->ErrorTexts, "");
}

TEST_F(ReportMessageTest, SameMessageTwiceIsListedOnceAmongTheTexts) {
  form->ReportMessage("I;-000004;J1");
  form->ReportMessage("I;-000004;J1");
  EXPECT_EQ(form->ErrorCodes, "I;-000004;J1; I;-000004;J1; ");
  EXPECT_EQ(form->ErrorTexts, "作业 J1 已产生; ");
}

TEST_F(ReportMessageTest, ShownMessageTakesTheDialogKindOfItsType) {
  const struct {
    const char* code;
    const char* kind;
  } cases[] = {
      {"E;000013;", "mtError"},       {"W;000013;", "mtWarning"},   {"C;000013;", "mtWarning"},
      {"D;000013;", "mtWarning"},     {"I;000013;", "mtInformation"}, {"Q;000013;", "mtConfirmation"},
      {"R;000013;", ""},  // any other letter: a custom dialog, without image
  };
  for (const auto& c : cases) {
    dialogs.clear();
    form->ReportMessage(c.code);
    ASSERT_EQ(dialogs.size(), 1u) << c.code;
    EXPECT_EQ(dialogs[0].kind, c.kind) << c.code;
    EXPECT_EQ(dialogs[0].buttons, std::vector<std::string>{"OK"}) << c.code;
    EXPECT_EQ(dialogs[0].caption, form->Caption());
  }
}

TEST_F(ReportMessageTest, TemplateThatDoesNotFitItsParametersIsShownRaw) {
  host->Templates["W;000002"] = "%s 应有 %d 项";
  form->ReportMessage("W;-000002;选择条件;many");
  EXPECT_EQ(form->ErrorTexts, "%s 应有 %d 项\r选择条件;many;;;;;;;;;; ");
}

TEST_F(ReportMessageTest, ParametersBeyondTenAreDropped) {
  host->Templates["I;000009"] = "%s%s%s%s%s%s%s%s%s%s";
  form->ReportMessage("I;-000009;0;1;2;3;4;5;6;7;8;9;10;11");
  EXPECT_EQ(form->ErrorTexts, "0123456789; ");
}

TEST_F(ReportMessageTest, NothingHappensWhileTheUserLeavesThroughCancel) {
  form->ErrorCodes = "W;000002; ";
  form->SetActiveControl(form->btnCancel);
  form->ReportMessage("E;000013;");
  form->ReportMessage("");
  form->RecordText("lost");
  EXPECT_EQ(form->ErrorCodes, "W;000002; ");
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SessionFormTest, RecordTextKeepsTrimmedFreeTexts) {
  form->RecordText("  Connection refused\r\n");
  form->RecordText("Connection refused");
  EXPECT_EQ(form->ErrorCodes, "E;-1; E;-1; ");
  EXPECT_EQ(form->ErrorTexts, "Connection refused; ");
  EXPECT_TRUE(dialogs.empty());
  form->RecordText("   ");
  EXPECT_EQ(form->ErrorCodes, "");
  EXPECT_EQ(form->ErrorTexts, "");
}

TEST_F(SessionFormTest, MessageTextWithoutHostNamesTheMissingMessage) {
  std::string text;
  form->HostObject = Variant();
  form->GetMessageText("E", "000013", text);
  EXPECT_EQ(text, "Can not Get Message\rType= E, ID= 000013 ");
  // A host that cannot answer counts as none: reporting a message never fails.
  form->HostObject = Variant(host);
  host->Missing.insert("getmessage");
  form->GetMessageText("W", "000004", text);
  EXPECT_EQ(text, "Can not Get Message\rType= W, ID= 000004 ");
}

TEST_F(SessionFormTest, MessageCodeOfTypeDOffersYesNoCancelInChinese) {
  host->Templates["D;000020"] = "是否覆盖方案 %s?";
  answer = "No";
  EXPECT_EQ(form->ShowMessageCode("D", "000020", 0, {Variant("月报")}), mrNo);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].message, "是否覆盖方案 月报?");
  EXPECT_EQ(dialogs[0].kind, "mtWarning");
  EXPECT_EQ(dialogs[0].buttons, (std::vector<std::string>{"Yes", "No", "Cancel"}));
  EXPECT_EQ(dialogs[0].captions, (std::vector<std::string>{"是(&Y)", "否(&N)", "取消"}));
}

TEST_F(SessionFormTest, MessageCodeDefaultButtonsByType) {
  const struct {
    const char* type;
    std::vector<std::string> buttons;
  } cases[] = {
      {"C", {"OK", "Cancel"}}, {"E", {"OK"}}, {"I", {"OK"}},
      {"Q", {"OK", "Cancel"}}, {"W", {"OK", "Cancel"}}, {"X", {"OK"}},
  };
  for (const auto& c : cases) {
    dialogs.clear();
    form->ShowMessageCode(c.type, "000001", 0, {});
    ASSERT_EQ(dialogs.size(), 1u) << c.type;
    EXPECT_EQ(dialogs[0].buttons, c.buttons) << c.type;
  }
  dialogs.clear();
  answer = "Retry";
  EXPECT_EQ(form->ShowMessageCode("E", "000001", mbAbortRetryIgnore, {}), mrRetry);
  EXPECT_EQ(dialogs[0].captions, (std::vector<std::string>{"中断(&A)", "重试(&R)", "忽略(&I)"}));
}

TEST_F(SessionFormTest, EnglishInterfaceKeepsThePlatformsButtonCaptions) {
  MakeForm("437");
  std::unique_ptr<TForm, void (*)(TObject*)> plain(CreateMessageDialog("x", mtWarning, mbYesNoCancel), &TObject::Free);
  std::vector<std::string> platformCaptions;
  for (const char* name : {"Yes", "No", "Cancel"})
    platformCaptions.push_back(ObjectAs<TControl>(plain->FindComponent(name))->Caption());
  form->ShowMessageText("x", mtWarning, mbYesNoCancel);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].captions, platformCaptions);
}

TEST_F(SessionFormTest, TraditionalInterfaceConvertsTheButtonCaptions) {
  MakeForm("950");
  form->ShowMessageText("x", mtConfirmation, mbOKCancel | MsgDlgButton(mbAll));
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].captions, (std::vector<std::string>{"確定", "取消", "全部(&A)"}));
}

TEST_F(SessionFormTest, WhileAPageChangesOnlyErrorsAreShown) {
  host->Templates["W;000004"] = "警告";
  host->Templates["E;000001"] = "错误";
  form->SuppressNonErrorDialogs = true;
  EXPECT_EQ(form->ShowMessageText("提示", mtInformation, MsgDlgButtons(mbOK)), mrNone);
  form->ReportMessage("W;000004;");
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(form->ErrorTexts, "警告; ");  // recorded all the same
  form->ReportMessage("E;000001;");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].kind, "mtError");
}

// An edit that keeps the messages it receives.
class TRecordingEdit : public TEdit {
 public:
  using TEdit::TEdit;
  void WndProc(TMessage& message) override {
    received.push_back(message.Msg);
    TEdit::WndProc(message);
  }
  std::vector<unsigned> received;
};

class DialogFocusTest : public SessionFormTest {
 protected:
  void SetUp() override {
    SessionFormTest::SetUp();
    first = new TRecordingEdit(form);
    first->SetParent(form->tsOption1);
    second = new TRecordingEdit(form);
    second->SetParent(form->tsOption1);
    form->Show();
    second->SetFocus();
    form->LastFocused = first;
    Application().ProcessMessages();
    second->received.clear();
  }
  TRecordingEdit* first = nullptr;
  TRecordingEdit* second = nullptr;
};

TEST_F(DialogFocusTest, ActiveControlGetsAButtonReleaseAfterTheDialog) {
  form->ShowMessageText("提示", mtInformation, MsgDlgButtons(mbOK));
  Application().ProcessMessages();
  EXPECT_NE(std::find(second->received.begin(), second->received.end(), WM_LBUTTONUP), second->received.end());
  EXPECT_EQ(form->ActiveControl(), second);  // not an error: the focus stays
}

TEST_F(DialogFocusTest, ErrorSendsTheFocusBackToTheLastFocusedControl) {
  form->LastFocused = first;
  form->ShowMessageText("错误", mtError, MsgDlgButtons(mbOK));
  EXPECT_EQ(form->ActiveControl(), first);
}

}  // namespace
}  // namespace qv::test
