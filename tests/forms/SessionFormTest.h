#pragma once
// A fixture for the condition form's session services: a client
// installation (code pages and server list in OrvaneC.ini), the host's
// service object with its counter, validator and lookup window, a form whose
// services are those of the host, and a responder that records every message
// dialog and answers it with a chosen button.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/base/BaseGene.h"
#include "platform/core/Strings.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/controls/Button.h"
#include "support/HostDouble.h"
#include "support/Installation.h"
#include "support/TestSupport.h"

namespace qv::test {

// The form without its showing chores, counting rights notifications.
class TSessionForm : public TfrmBaseGene {
 public:
  using TfrmBaseGene::TfrmBaseGene;
  void FormShow(TObject*) override {}
  void RightsLoaded() override { ++rightsLoadedCalls; }
  int rightsLoadedCalls = 0;
};

struct SeenDialog {
  std::string caption, message, kind;
  std::vector<std::string> buttons;   // component names, in order
  std::vector<std::string> captions;  // their captions
};

class SessionFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().SetPresenter(std::make_unique<HeadlessPresenter>([this](TCustomForm& dialog) { Answer(dialog); }));
    MakeForm();
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
    Application().SetPresenter(nullptr);
  }

  // (Re)creates the form on a client installation with this interface code
  // page and these further lines in OrvaneC.ini.
  void MakeForm(const std::string& uiCodePage = "936", const std::string& moreIni = "") {
    if (form) TObject::Free(form);
    install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
    WriteFile(install.Folder("client") + "/OrvaneC.ini", "[CodePage]\nUICodePage=" + uiCodePage + "\n" + moreIni);
    form = CreateForm<TSessionForm>(nullptr);
    if (!form->SysParams) form->SysParams = new TStringList;
    form->HostObject = Variant(host);
    form->Counter = Variant(host->Counter);
    form->Validator = Variant(host->Validator);
    form->CompanyID = "796";
    form->DbName = "DEMO";
    form->UserID = "DS";
  }

  // Loads the counter's parameters into the form.
  void LoadParams() {
    std::string none;
    form->GetSysParam("", none);
  }

  void Answer(TCustomForm& dialog) {
    SeenDialog seen;
    seen.caption = dialog.Caption();
    if (auto* text = ObjectAs<TControl>(dialog.FindComponent("Message"))) seen.message = text->Caption();
    if (TComponent* image = dialog.FindComponent("Image")) seen.kind = GetPropText(*image, *GetPropInfo(image, "Kind"));
    TButton* chosen = nullptr;
    for (TComponent* component : dialog.ComponentList())
      if (auto* button = ObjectAs<TButton>(component)) {
        seen.buttons.push_back(button->Name());
        seen.captions.push_back(button->Caption());
        if (button->Name() == answer || (!chosen && answer.empty())) chosen = button;
      }
    dialogs.push_back(seen);
    if (chosen) dialog.SetModalResult(chosen->ModalResult());
  }

  Installation install;
  std::shared_ptr<HostDouble> host = std::make_shared<HostDouble>();
  TSessionForm* form = nullptr;
  std::vector<SeenDialog> dialogs;
  std::string answer;  // the name of the button that answers; "" the first
};

}  // namespace qv::test
