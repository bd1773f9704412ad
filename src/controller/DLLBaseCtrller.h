#pragma once
// The contract between the shell and a report plug-in, for host authors.
//
// A plug-in exports one function with C linkage:
//
//   extern "C" qv::TDLLBaseController* GetController();
//
// It returns a new controller; the host owns it and ends it with
// TObject::Free (never delete: see 6). A plug-in whose start-up did not run
// raises qv::Exception instead. Calling order:
//
//   1. GetController.
//   2. Set HostObject (the host's service object) and OnEvent (optional).
//   3. CreateForm(params) once: params is a one-dimensional array indexed
//      from 0: [user ID, company ID, database name, host window, extra].
//      Event 256 (FormCreatedEvent) comes before the form initialises.
//   4. Any of SetVisible, ShowModalForm, ApplyCondition,
//      ApplyConditionOfKind, GetVisible, GetWindowHandle, GetFormInfo,
//      GetVersion, FormGone. Every showing raises 272, every hiding 288.
//      Run the message loop (Application().ProcessMessages()) between
//      calls: a form that reported a failed initialisation (a missing
//      parameter, a form of another program, no session) closes itself on
//      the next turn.
//   5. Read ResultCode and ResultValue on event 304 (FormDestroyedEvent),
//      raised once per form, whoever ends it (the user, FreeForm, freeing
//      the controller). The controller holds no form any more by then
//      (FormGone is true).
//   6. Free the controller with TObject::Free; a form it still holds goes
//      with it, raising 304 on the way.
//
// What an OnEvent handler may do: call any operation, and free the
// controller with TObject::Free. Freeing it from a handler is carried out
// once the controller's own calls have returned: from 304, or from a handler
// of an event raised while the controller is being freed, at once or not
// again; from 256, 272 or 288 by closing its form on the next turn of the
// message loop, whose 304 then ends the controller. FreeForm from a handler
// likewise closes the form on the next turn. A handler must not delete the
// controller.
//
// Every operation that needs the form is harmless without one.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/Object.h"
#include "platform/core/Variant.h"
#include "platform/ui/Messages.h"

namespace qv {

class TDLLBaseController;

// Event codes passed to OnEvent.
enum TControllerEvent : std::int32_t {
  FormCreatedEvent = 0x100,    // a form was made, before it is initialised
  FormShownEvent = 0x110,      // after the form's own show handler
  FormHiddenEvent = 0x120,     // after the form's own hide handler
  FormDestroyedEvent = 0x130,  // results copied, the form's destroy handler ran
  SignalEvent = 0x140,         // only when DoSignal is called
};

// The host's event sink: (event code, the controller). Called on the host's
// thread, from inside the form's show, hide and destroy processing.
using TControllerEventHandler = std::function<void(std::int32_t eventCode, TDLLBaseController* controller)>;

// Results the form leaves in ResultCode.
constexpr std::int32_t ResultNothingDone = 0;
constexpr std::int32_t ResultRequestAccepted = 1;  // ResultValue: the job number
constexpr std::int32_t ResultCancelled = 2;

class TDLLBaseController : public TObject {
  QV_OBJECT(TDLLBaseController, TObject)

  TDLLBaseController() = default;
  ~TDLLBaseController() override;

  // ---- the 18 operations, in slot order ----
  // 0: the form's version stamp; leaves version untouched without a form.
  virtual void GetVersion(std::string& version) = 0;
  // 1: -1 when the form exists and is visible, else 0.
  virtual std::int16_t GetVisible() = 0;
  // 2: any non-zero value shows (restoring a minimised form), 0 hides.
  virtual void SetVisible(std::int16_t value) = 0;
  // 3: the form's window handle; 0 without a form.
  virtual HWND GetWindowHandle() = 0;
  // 4: makes and initialises the form: 0 success, -1 failure.
  virtual std::int32_t CreateForm(const Variant& params) = 0;
  // 5: hands the form the condition structure data[1]: 0, or -1 when data
  // is no array or the form raised.
  virtual std::int32_t ApplyCondition(const Variant& data) = 0;
  // 6: for kinds 5 and 9, hands the form the condition structure data: 0 or -1.
  virtual std::int32_t ApplyConditionOfKind(std::int32_t kind, const Variant& ignored, const Variant& data) = 0;
  // 7: shows the form modally (through Application().Presenter()): its
  // modal result; 2 without a form.
  virtual Variant ShowModalForm() = 0;
  // 8: frees the form unless it is already going.
  virtual void FreeForm() = 0;
  // 9: info := [user ID, company ID, program ID, program name]: 0, or -1 without a form.
  virtual std::int32_t GetFormInfo(Variant& info) = 0;
  // 10: true when no form is held.
  virtual bool FormGone() = 0;
  // 11 to 15 raise 256, 272, 288, 304 and 320 through 16, DoEvent, which
  // calls OnEvent when it is assigned.
  virtual void DoFormCreated();
  virtual void DoFormShow(TObject* sender);
  virtual void DoFormHide(TObject* sender);
  virtual void DoFormDestroy(TObject* sender);
  virtual void DoSignal();
  virtual void DoEvent(std::int32_t eventCode);
  // 17: does nothing.
  virtual void Reserved();

  // ---- public fields ----
  Variant HostObject;
  std::int32_t ResultCode = 0;
  Variant ResultValue;
  TControllerEventHandler OnEvent;

  // A free asked for while one of the controller's calls is running waits
  // for the outermost call to return.
  bool AcceptFree() override;

 protected:
  // Marks a call of the controller in progress for its lifetime; when the
  // outermost call ends with a free asked for, FreeWhenIdle runs.
  class TCallScope {
   public:
    explicit TCallScope(TDLLBaseController& controller) : controller_(controller) { ++controller_.calls_; }
    ~TCallScope();
    TCallScope(const TCallScope&) = delete;
    TCallScope& operator=(const TCallScope&) = delete;

   private:
    TDLLBaseController& controller_;
  };
  // True while an operation or an event of the controller is running.
  bool InCall() const { return calls_ > 0; }
  // Carries out a free that waited for the controller's calls: frees it.
  virtual void FreeWhenIdle();

 private:
  int calls_ = 0;
  bool freeAsked_ = false;
  bool ending_ = false;
};

// The controller class GetController makes.
using TDLLControllerClass = TDLLBaseController* (*)();
extern TDLLControllerClass DLLControllerClass;

}  // namespace qv

// The plug-in's one exported entry.
extern "C" [[gnu::visibility("default")]] qv::TDLLBaseController* GetController();
