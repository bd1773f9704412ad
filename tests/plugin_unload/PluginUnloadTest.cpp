// A host unloads the plug-in and loads it again. This program loads the
// plug-in nowhere else, so that the library is really gone when the test
// closes it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controller/DLLBaseCtrller.h"
#include "platform/ui/Application.h"

namespace qv {
namespace {

using GetControllerFn = decltype(&GetController);

// Loads the plug-in, makes a form through a controller, frees both and
// closes the library: the events the host heard.
std::vector<int> UseOnce() {
  void* library = dlopen(PQLR_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  if (!library) throw std::runtime_error(dlerror());
  auto getController = reinterpret_cast<GetControllerFn>(dlsym(library, "GetController"));
  std::vector<int> events;
  TDLLBaseController* controller = getController();
  controller->OnEvent = [&events](std::int32_t code, TDLLBaseController*) { events.push_back(code); };
  // Without a host object the form reports its failed start and closes.
  controller->CreateForm(Variant::ArrayOf({"U01", "C01", "DB01", 0, "extra"}));
  Application().ProcessMessages();
  TObject::Free(controller);
  Application().ProcessMessages();
  EXPECT_EQ(dlclose(library), 0) << dlerror();
  return events;
}

bool Loaded() {
  void* library = dlopen(PQLR_PLUGIN, RTLD_NOW | RTLD_NOLOAD);
  if (library) dlclose(library);
  return library != nullptr;
}

TEST(PluginUnload, TheLibraryGoesWhenClosedAndComesBackWhole) {
  // The platform's message dialogs are cancelled without a responder.
  Application().SetPresenter(nullptr);
  const std::vector<int> created{FormCreatedEvent, FormDestroyedEvent};
  ASSERT_FALSE(Loaded());
  EXPECT_EQ(UseOnce(), created);
  EXPECT_FALSE(Loaded()) << "the plug-in stayed mapped after its last handle was closed";
  EXPECT_EQ(UseOnce(), created);
  EXPECT_FALSE(Loaded());
}

}  // namespace
}  // namespace qv
