#include "controller/DLLRPCtrller.h"

#include "forms/base/BaseGeneU.h"
#include "platform/core/Exception.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/Application.h"

namespace qv {

namespace {

// Any object of this unit lies in the plug-in's own file.
const char ModuleAnchor = 0;

TDLLBaseController* MakeReportController() { return new TDLLRPCtrller(); }

// Start-up of the unit: GetController hands out report controllers.
[[maybe_unused]] const bool ControllerClassSet = (DLLControllerClass = &MakeReportController, true);

// Installs the controller's handler in a form event, keeping the form's own
// handler to run first. A handler already installed stays as it is, so a
// second hook never makes the handler call itself.
void HookEvent(TNotifyEvent& formEvent, TNotifyEvent& saved, const TMethod& handler) {
  if (formEvent.Method() == handler) return;
  saved = formEvent;
  formEvent = handler;
}

// Runs a hand-over to the form: 0, or -1 when anything was raised.
template <class Action>
std::int32_t Guarded(Action action) {
  try {
    action();
    return 0;
  } catch (...) {
    return -1;
  }
}

}  // namespace

const TClass& TDLLRPCtrller::StaticClass() {
  static const TClass cls = ClassBuilder<TDLLRPCtrller>("TDLLRPCtrller", &TDLLBaseController::StaticClass());
  return cls;
}

TDLLRPCtrller::~TDLLRPCtrller() {
  if (Form) FreeForm();
}

void TDLLRPCtrller::GetVersion(std::string& version) {
  if (Form) version = Form->VersionStamp;
}

std::int16_t TDLLRPCtrller::GetVisible() { return Form && Form->Visible() ? -1 : 0; }

void TDLLRPCtrller::SetVisible(std::int16_t value) {
  if (!Form) return;
  const TCallScope call(*this);
  const bool show = value != 0;
  Form->SetVisible(show);
  if (!show) return;
  if (Form->WindowState() == wsMinimized) Form->SetWindowState(wsNormal);
  Application().SetActiveForm(Form);
}

HWND TDLLRPCtrller::GetWindowHandle() { return Form ? Form->Handle() : 0; }

std::int32_t TDLLRPCtrller::CreateForm(const Variant& params) {
  const TCallScope call(*this);
  const Variant ownParams = params;
  if (!Form) MakeForm();
  HookFormEvents();
  return Form->Initialize(ownParams) ? 0 : -1;
}

void TDLLRPCtrller::MakeForm() {
  if (!frmBaseGeneClass) throw Exception("QVX DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  Form = frmBaseGeneClass(nullptr);
  Form->SetModulePath(ModuleFileName(&ModuleAnchor));
  Form->HostObject = HostObject;
  DoFormCreated();
}

void TDLLRPCtrller::HookFormEvents() {
  HookEvent(Form->OnShow, SavedOnShow, MethodOf<&TDLLRPCtrller::DoFormShow>(this));
  HookEvent(Form->OnHide, SavedOnHide, MethodOf<&TDLLRPCtrller::DoFormHide>(this));
  HookEvent(Form->OnDestroy, SavedOnDestroy, MethodOf<&TDLLRPCtrller::DoFormDestroy>(this));
}

std::int32_t TDLLRPCtrller::ApplyCondition(const Variant& data) {
  if (!Form || !data.IsArray()) return -1;
  const TCallScope call(*this);
  return Guarded([&] { Form->ReceiveCondition(Variant::ArrayOf({true, data[1]})); });
}

std::int32_t TDLLRPCtrller::ApplyConditionOfKind(std::int32_t kind, const Variant&, const Variant& data) {
  if (!Form || (kind != 5 && kind != 9)) return -1;
  const TCallScope call(*this);
  return Guarded([&] { Form->ReceiveCondition(Variant::ArrayOf({false, data})); });
}

Variant TDLLRPCtrller::ShowModalForm() {
  if (!Form) return Variant(mrCancel);
  const TCallScope call(*this);
  return Variant(Form->ShowModal());
}

// From inside a call or an event the form's own code may be on the stack:
// it closes on the next turn of the message loop instead.
void TDLLRPCtrller::FreeForm() {
  if (!Form || Form->HasState(ComponentStateFlag::Destroying)) return;
  if (InCall()) {
    if (!Form->Closing()) Form->Release();
    return;
  }
  const TCallScope call(*this);
  TObject::Free(Form);  // DoFormDestroy forgets it
}

// A free that waited for a call: a held form closes on the next turn of the
// message loop, and its destruction ends the controller.
void TDLLRPCtrller::FreeWhenIdle() {
  if (!Form) return TDLLBaseController::FreeWhenIdle();
  if (!Form->Closing()) Form->Release();
}

std::int32_t TDLLRPCtrller::GetFormInfo(Variant& info) {
  if (!Form) return -1;
  info = Variant::ArrayOf({Form->UserID, Form->CompanyID, Form->ProgramID, Form->ProgramName});
  return 0;
}

bool TDLLRPCtrller::FormGone() { return Form == nullptr; }

void TDLLRPCtrller::DoFormShow(TObject* sender) {
  SavedOnShow(sender);
  TDLLBaseController::DoFormShow(sender);
}

void TDLLRPCtrller::DoFormHide(TObject* sender) {
  SavedOnHide(sender);
  TDLLBaseController::DoFormHide(sender);
}

// The form is forgotten before the host hears of it, so that whatever the
// host does in its handler (ask FormGone, call FreeForm, free this
// controller) finds no half-destroyed form.
void TDLLRPCtrller::DoFormDestroy(TObject* sender) {
  if (!Form) return;
  ResultCode = Form->ResultCode;
  ResultValue = Form->ResultValue;
  SavedOnDestroy(sender);
  ForgetForm();
  TDLLBaseController::DoFormDestroy(sender);
}

void TDLLRPCtrller::ForgetForm() {
  Form = nullptr;
  SavedOnShow.Clear();
  SavedOnHide.Clear();
  SavedOnDestroy.Clear();
}

}  // namespace qv
