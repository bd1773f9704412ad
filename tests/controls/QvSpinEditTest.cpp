// The spin edit that drops stray signs and keeps quiet about blank text.
#include <gtest/gtest.h>

#include <string>

#include "controls/QvSpinEdit.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"

namespace qv {
namespace {

class ChangeLog : public TObject {
 public:
  void Changed(TObject* sender) { texts.push_back(static_cast<TQvSpinEdit*>(sender)->Text()); }
  std::vector<std::string> texts;
};

class QvSpinEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    edit = new TQvSpinEdit(form);
    edit->SetParent(form);
    edit->OnChange = MethodOf<&ChangeLog::Changed>(&log);
    form->Show();
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
  }

  TForm* form = nullptr;
  TQvSpinEdit* edit = nullptr;
  ChangeLog log;
};

TEST_F(QvSpinEditTest, StraySignsAreDroppedAndBlankTextRaisesNoChange) {
  struct Case {
    const char* set;
    const char* shown;
    bool raised;
  };
  for (const Case& c : {Case{"12+", "12", true}, Case{"-", "-", true}, Case{"-5", "-5", true}, Case{"+5", "+5", true},
                        Case{"5-", "5", true}, Case{"1+2-", "1+2", true}, Case{"1-2", "1-", true}, Case{"", "", false},
                        Case{"  ", "  ", false}, Case{" +", " ", false}}) {
    SCOPED_TRACE(c.set);
    edit->SetText("7");
    log.texts.clear();
    edit->SetText(c.set);
    EXPECT_EQ(edit->Text(), c.shown);
    EXPECT_EQ(log.texts, c.raised ? std::vector<std::string>{c.shown} : std::vector<std::string>{});
  }
}

TEST_F(QvSpinEditTest, TypingASignAfterDigitsLeavesTheCaretAtTheEnd) {
  input::Focus(*edit);
  edit->SetText("");
  input::TypeText(*edit, "12+3");
  EXPECT_EQ(edit->Text(), "123");
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(edit->Value(), 123);
}

}  // namespace
}  // namespace qv
