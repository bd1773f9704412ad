#pragma once
// TDLLRPCtrller: the controller of a report program. It owns one condition
// form, made from frmBaseGeneClass, maps every operation of the host
// contract onto it and tells the host when the form is made, shown, hidden
// and destroyed. Loading the plug-in makes it the class GetController hands
// out.

#include <cstdint>
#include <string>

#include "controller/DLLBaseCtrller.h"
#include "platform/core/Method.h"

namespace qv {

class TfrmBaseGene;

class TDLLRPCtrller : public TDLLBaseController {
  QV_OBJECT(TDLLRPCtrller, TDLLBaseController)

  TDLLRPCtrller() = default;
  // Frees the form it still holds (the host hears FormDestroyedEvent).
  ~TDLLRPCtrller() override;

  void GetVersion(std::string& version) override;
  std::int16_t GetVisible() override;
  void SetVisible(std::int16_t value) override;
  HWND GetWindowHandle() override;
  std::int32_t CreateForm(const Variant& params) override;
  std::int32_t ApplyCondition(const Variant& data) override;
  std::int32_t ApplyConditionOfKind(std::int32_t kind, const Variant& ignored, const Variant& data) override;
  Variant ShowModalForm() override;
  void FreeForm() override;
  std::int32_t GetFormInfo(Variant& info) override;
  bool FormGone() override;
  void DoFormShow(TObject* sender) override;
  void DoFormHide(TObject* sender) override;
  void DoFormDestroy(TObject* sender) override;

  TfrmBaseGene* Form = nullptr;
  // The form's own handlers, which run before the host is told.
  TNotifyEvent SavedOnShow;
  TNotifyEvent SavedOnHide;
  TNotifyEvent SavedOnDestroy;

 protected:
  void FreeWhenIdle() override;

 private:
  void MakeForm();
  void HookFormEvents();
  void ForgetForm();
};

}  // namespace qv
