#pragma once
// A condition form of the report program PQLR52 wired to test doubles: the
// host's service object, the job service served in-process (the client
// configuration names 127.0.0.1) and a recorder that answers every message
// dialog. The form is built as the controller builds it: hidden, given the
// plug-in's path and the host object.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/DialogRecorder.h"
#include "forms/base/BaseGene.h"
#include "platform/automation/SocketConnection.h"
#include "platform/ui/Application.h"
#include "support/HostDouble.h"
#include "support/Installation.h"
#include "support/JobServiceDouble.h"

namespace qv::test {

inline constexpr const char* kPluginPath = "/opt/qvx/client/PQLR52C.so";

// Named as the program's form, with the job service as its server object;
// it counts what the intake triggers and says when it is gone.
class TestConditionForm : public TfrmBaseGene {
 public:
  explicit TestConditionForm(TComponent* owner) : TfrmBaseGene(owner) { SetName("frmPQLR52"); }
  ~TestConditionForm() override {
    if (gone) *gone = true;
  }

  void PrepareConnection(TSocketConnection* connection) override {
    TfrmBaseGene::PrepareConnection(connection);
    connection->SetServerName(JobServiceProgID);
  }
  bool LoadConditionValues(const Variant& values) override {
    loadedValues.push_back(values);
    return loadAnswer;
  }
  bool RunMode(int mode) override {
    runModes.push_back(mode);
    return TfrmBaseGene::RunMode(mode);
  }
  void btnOkClick(TObject* sender) override {
    ++okClicks;
    TfrmBaseGene::btnOkClick(sender);
  }

  bool* gone = nullptr;
  bool loadAnswer = true;
  std::vector<Variant> loadedValues;
  std::vector<int> runModes;
  int okClicks = 0;
};

// Host parameters [user, company, database, host window, extra], cut to count.
inline Variant HostParams(int count = 5, int hostWindow = 0) {
  std::vector<Variant> all = {"U001", "C01", "DemoDB", hostWindow, "extra"};
  all.resize(static_cast<std::size_t>(count));
  return Variant::ArrayOf(all);
}

template <class Form = TestConditionForm>
class ConditionFormFixture : public ::testing::Test {
 protected:
  ConditionFormFixture() {
    install.SetRegistry("ClientPath=" + install.Folder("client") + "/\n");
    WriteFile(install.Folder("client") + "/OrvaneC.ini",
              "[Server Information]\nComputerName=127.0.0.1\nServerPort=211\n");
    host->Counter->SysParams = {{"Sys001", "1"}, {"Sys002", "/"}, {"QVX002", "总公司"}};
    host->Validator->AddProgram("PQLR52", "成本报表");
    host->Templates = {{"E;000038", "缺少参数"},   {"E;000036", "程序不符"},      {"E;000006", "无法连接"},
                       {"W;000014", "条件名称错误"}, {"W;000002", "%s:%s/%s"},  {"W;000003", "%s:%s/%s"},
                       {"I;000003", "无选项%s"}};
  }
  ~ConditionFormFixture() override {
    Discard();
    Application().ProcessMessages();
  }

  // Builds the form as the controller does, without initialising it.
  Form& Build(const std::string& modulePath = kPluginPath) {
    Discard();
    gone = false;
    form = CreateForm<Form>(nullptr);
    form->gone = &gone;
    form->SetModulePath(modulePath);
    form->HostObject = Variant(host);
    return *form;
  }
  // Builds and initialises the form.
  Form& Ready(const Variant& params = HostParams()) {
    Build();
    EXPECT_TRUE(form->Initialize(params)) << form->ErrorTexts;
    return *form;
  }
  void Discard() {
    if (form && !gone) TObject::Free(form);
    form = nullptr;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const ShownDialog& dialog : dialogs.shown) texts.push_back(dialog.message);
    return texts;
  }

  ScopedEnv locale{"LC_ALL", "zh_CN.UTF-8"};
  Installation install;
  std::shared_ptr<HostDouble> host = std::make_shared<HostDouble>();
  ScopedJobService jobService;
  DialogRecorder dialogs;
  Form* form = nullptr;
  bool gone = false;
};

}  // namespace qv::test
