#include "plugin/PluginHost.h"

#include <dlfcn.h>

#include <stdexcept>

#include "platform/ui/Application.h"
#include "support/TestSupport.h"

namespace qv::test {

LoadedLibrary::LoadedLibrary(const char* path) : handle_(dlopen(path, RTLD_NOW)) {
  if (!handle_) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
}

void* LoadedLibrary::Symbol(const char* name) const {
  void* symbol = dlsym(handle_, name);
  if (!symbol) throw std::runtime_error(std::string("missing entry ") + name);
  return symbol;
}

const LoadedLibrary& Plugin() {
  static const LoadedLibrary plugin(PQLR_PLUGIN);
  return plugin;
}

const LoadedLibrary& ReportFixture() {
  static const LoadedLibrary fixture(PQLR_REPORT_FIXTURE);
  return fixture;
}

ControllerPtr NewController(const LoadedLibrary& library) {
  return ControllerPtr(library.Entry<decltype(&GetController)>("GetController")());
}

Variant HostParams(int count) {
  const Variant all[] = {"U01", "C01", "DB01", 0, "extra"};
  return Variant::ArrayOf(std::vector<Variant>(all, all + count));
}

void PluginHostTest::SetUp() {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "/\n");
  WriteFile(install.Folder("client") + "/OrvaneC.ini",
            "[Server Information]\nComputerName=127.0.0.1\nServerPort=2110\n");
  host->Validator->AddProgram("PQLR52", "存货成本表");
  Application().SetPresenter(std::make_unique<HeadlessPresenter>([this](TCustomForm& form) {
    if (modalResponse && form.InheritsFrom("TfrmBaseGene")) modalResponse(form);
  }));
  UseReportForm(false);
}

void PluginHostTest::TearDown() {
  Application().ProcessMessages();
  Application().SetPresenter(nullptr);
  UseReportForm(false);
}

ControllerPtr PluginHostTest::HostController() {
  ControllerPtr controller = NewController(*library_);
  controller->HostObject = Variant(host);
  controller->OnEvent = [this](std::int32_t code, TDLLBaseController*) { events.push_back(code); };
  return controller;
}

std::vector<std::string> PluginHostTest::MessagesAsked() const {
  std::vector<std::string> codes;
  for (const auto& call : host->CallsOf("GetMessage"))
    codes.push_back(call.Args.at(0).ToString() + ";" + call.Args.at(1).ToString());
  return codes;
}

bool PluginHostTest::Asked(const std::string& code) const {
  for (const std::string& asked : MessagesAsked())
    if (asked == code) return true;
  return false;
}

TCustomForm* PluginHostTest::FormOf(TDLLBaseController& controller) {
  const HWND handle = controller.GetWindowHandle();
  return handle ? ObjectAs<TCustomForm>(Application().FindControl(handle)) : nullptr;
}

void PluginHostTest::UseReportForm(bool reportForm) { library_ = reportForm ? &ReportFixture() : &Plugin(); }

}  // namespace qv::test
