#pragma once
// A condition form whose system parameters come from the host's counter
// double (date type and separator), shown on demand so that focus and clicks
// run the real enter, exit and click chains, with a recorder that answers
// every message dialog. Tests add their own fields to its pages.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/DialogRecorder.h"
#include "controls/ExtPage.h"
#include "forms/base/BaseGene.h"
#include "platform/core/Strings.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/PageControl.h"
#include "support/HostDouble.h"
#include "support/Installation.h"

namespace qv::test {

// The form without its showing chores; OK only counts.
class TFieldForm : public TfrmBaseGene {
 public:
  using TfrmBaseGene::TfrmBaseGene;
  void FormShow(TObject*) override {}
  void btnOkClick(TObject*) override { ++okClicks; }
  int okClicks = 0;
};

// Records which handler ran with which sender.
class HandlerLog : public TObject {
 public:
  void Entered(TObject* sender) { entered.push_back(sender); }
  void Exited(TObject* sender) { exited.push_back(sender); }
  void Clicked(TObject* sender) { clicked.push_back(sender); }
  std::vector<TObject*> entered, exited, clicked;
};

class FieldFormTest : public ::testing::Test {
 protected:
  FieldFormTest() {
    install.SetRegistry("ClientPath=" + install.Folder("client") + "/\n");
    host->Counter->SysParams = {{"Sys001", "2"}, {"Sys002", "-"}};
    host->Templates = {{"E;000005", "日期错误"}, {"E;000037", "必须输入"}};
    form = CreateForm<TFieldForm>(nullptr);
    form->ModulePath = "/opt/qvx/client/PQLR52C.so";
    if (!form->SysParams) form->SysParams = new TStringList;
    if (!form->Colors) form->Colors = new TStringList;
    form->HostObject = Variant(host);
    form->GetServices();
  }
  ~FieldFormTest() override {
    TObject::Free(form);
    Application().ProcessMessages();
  }

  // The company's date type ("Sys001") and separator ("Sys002").
  void UseDates(const std::string& type, const std::string& separator) {
    host->Counter->SysParams["Sys001"] = type;
    host->Counter->SysParams["Sys002"] = separator;
    std::string none;
    form->GetSysParam("", none);
  }

  // A named control owned by the form, on the first page unless told otherwise.
  template <class T>
  T& Add(const std::string& name, TWinControl* parent = nullptr) {
    T* control = new T(form);
    control->SetName(name);
    control->SetParent(parent ? parent : form->tsOption1);
    return *control;
  }

  void Show() {
    form->SetBounds(0, 0, 509, 355);
    form->Show();
    form->pgOption->SetActivePage(form->tsOption1);
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const ShownDialog& dialog : dialogs.shown) texts.push_back(dialog.message);
    return texts;
  }

  Installation install;
  std::shared_ptr<HostDouble> host = std::make_shared<HostDouble>();
  DialogRecorder dialogs;
  TFieldForm* form = nullptr;
};

}  // namespace qv::test
