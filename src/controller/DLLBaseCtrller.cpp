#include "controller/DLLBaseCtrller.h"

#include "platform/core/Exception.h"

namespace qv {

TDLLControllerClass DLLControllerClass = nullptr;

const TClass& TDLLBaseController::StaticClass() {
  static const TClass cls = ClassBuilder<TDLLBaseController>("TDLLBaseController", &TObject::StaticClass());
  return cls;
}

// A controller that holds a form frees it in its own destructor, where its
// overrides still exist; the base holds nothing.
TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoFormCreated() { DoEvent(FormCreatedEvent); }
void TDLLBaseController::DoFormShow(TObject*) { DoEvent(FormShownEvent); }
void TDLLBaseController::DoFormHide(TObject*) { DoEvent(FormHiddenEvent); }
void TDLLBaseController::DoFormDestroy(TObject*) { DoEvent(FormDestroyedEvent); }
void TDLLBaseController::DoSignal() { DoEvent(SignalEvent); }

// The sink is called through a copy, inside a call scope: a host may free
// the controller from its handler.
void TDLLBaseController::DoEvent(std::int32_t eventCode) {
  if (!OnEvent) return;
  const TCallScope call(*this);
  const TControllerEventHandler sink = OnEvent;
  sink(eventCode, this);
}

bool TDLLBaseController::AcceptFree() {
  if (ending_) return false;
  if (calls_ > 0) {
    freeAsked_ = true;
    return false;
  }
  ending_ = true;
  return true;
}

TDLLBaseController::TCallScope::~TCallScope() {
  if (--controller_.calls_ > 0 || !controller_.freeAsked_ || controller_.ending_) return;
  controller_.FreeWhenIdle();  // may end the controller: nothing follows
}

void TDLLBaseController::FreeWhenIdle() { TObject::Free(this); }

void TDLLBaseController::Reserved() {}

}  // namespace qv

extern "C" qv::TDLLBaseController* GetController() {
  if (!qv::DLLControllerClass)
    throw qv::Exception("QVX DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  return qv::DLLControllerClass();
}
