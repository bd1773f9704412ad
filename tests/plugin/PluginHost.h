#pragma once
// The plug-in as the shell sees it: PQLR52C.so loaded by file name with
// dlopen, controllers from its GetController, and a host test fixture with
// an installation, the host's service object, a modal presenter and the
// events the controller raised. The test report form library can be loaded
// after the plug-in to get a form that opens a session.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "controller/DLLBaseCtrller.h"
#include "platform/ui/Form.h"
#include "plugin/fixtures/ReportFormFixture.h"
#include "support/HostDouble.h"
#include "support/Installation.h"

namespace qv {

// Values in failure messages: arrays as [a, b], texts quoted.
inline void PrintTo(const Variant& value, std::ostream* out) {
  if (value.IsArray() && value.DimCount() == 1) {
    *out << "[";
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
      if (i > value.LowBound()) *out << ", ";
      PrintTo(value[i], out);
    }
    *out << "]";
  } else if (value.IsText()) {
    *out << '"' << value.ToString() << '"';
  } else {
    *out << VarTypeName(value.Type());
    if (value.IsNumeric()) *out << " " << value.ToString();
  }
}

}  // namespace qv

namespace qv::test {

// A library opened once for the whole test program and never closed.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* path);
  template <class Fn>
  Fn Entry(const char* name) const {
    return reinterpret_cast<Fn>(Symbol(name));
  }
  void* Symbol(const char* name) const;

 private:
  void* handle_;
};

// PQLR52C.so.
const LoadedLibrary& Plugin();
// The test report plug-in, whose controllers make the fixture form.
const LoadedLibrary& ReportFixture();

struct ControllerDeleter {
  void operator()(TDLLBaseController* controller) const { TObject::Free(controller); }
};
using ControllerPtr = std::unique_ptr<TDLLBaseController, ControllerDeleter>;

// A new controller from a plug-in's GetController.
ControllerPtr NewController(const LoadedLibrary& library = Plugin());

// The first `count` of [user, company, database, host window, extra].
Variant HostParams(int count = 5);

class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A controller of the selected plug-in, with the host object set and its
  // events recorded in `events`.
  ControllerPtr HostController();
  // The message codes "T;NNNNNN" the form asked the host for, in order.
  std::vector<std::string> MessagesAsked() const;
  bool Asked(const std::string& code) const;
  // The plug-in form of a controller as the platform knows it.
  static TCustomForm* FormOf(TDLLBaseController& controller);
  // Selects the test report plug-in (true) or PQLR52C.so (false).
  void UseReportForm(bool reportForm);

  Installation install;
  ScopedEnv locale{"LC_ALL", "zh_CN.UTF-8"};
  std::shared_ptr<HostDouble> host = std::make_shared<HostDouble>();
  std::vector<int> events;
  // Works a condition form shown modally; message dialogs are left unanswered.
  std::function<void(TCustomForm&)> modalResponse;

 private:
  const LoadedLibrary* library_ = &Plugin();
};

}  // namespace qv::test
