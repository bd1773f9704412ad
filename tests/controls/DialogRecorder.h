#pragma once
// Answers every message dialog the code under test shows by clicking its OK
// button, and keeps what each dialog said.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"

namespace qv::test {

struct ShownDialog {
  std::string message;
  std::string kind;  // the image's dialog type, "mtError" …
  bool hasOnlyOK = false;
};

class DialogRecorder {
 public:
  DialogRecorder() {
    Application().SetPresenter(std::make_unique<HeadlessPresenter>([this](TCustomForm& form) { Answer(form); }));
  }
  ~DialogRecorder() { Application().SetPresenter(nullptr); }
  DialogRecorder(const DialogRecorder&) = delete;
  DialogRecorder& operator=(const DialogRecorder&) = delete;

  std::vector<ShownDialog> shown;

 private:
  void Answer(TCustomForm& form) {
    ShownDialog dialog;
    if (auto* text = ObjectAs<TControl>(form.FindComponent("Message"))) dialog.message = text->Caption();
    if (TComponent* image = form.FindComponent("Image"))
      dialog.kind = GetPropText(*image, *GetPropInfo(image, "Kind"));
    auto* ok = ObjectAs<TControl>(form.FindComponent("OK"));
    dialog.hasOnlyOK = ok && !form.FindComponent("Cancel") && !form.FindComponent("Yes");
    shown.push_back(dialog);
    if (ok) input::Click(*ok);
  }
};

}  // namespace qv::test
