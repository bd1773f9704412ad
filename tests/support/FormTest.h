#pragma once
// A fixture for control tests: a form of the given class and width, shown
// unless asked otherwise, to which a test adds the controls it drives. The
// form, its controls and any modal presenter a test installed go with the test.

#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace qv::test {

template <class FormClass = TForm, int Width = 400, bool Shown = true>
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<FormClass>(nullptr);
    form->SetBounds(0, 0, Width, 300);
    if (Shown) form->Show();
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
    Application().SetPresenter(nullptr);
  }
  // A control owned by the form, placed on the form or on a container of it.
  template <class T>
  T& Add(TWinControl* parent = nullptr) {
    T* control = new T(form);
    control->SetParent(parent ? parent : form);
    return *control;
  }

  FormClass* form = nullptr;
};

}  // namespace qv::test
