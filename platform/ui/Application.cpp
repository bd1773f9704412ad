#include "platform/ui/Application.h"

#include <algorithm>

#include "platform/ui/Form.h"

namespace qv {

void HeadlessPresenter::Run(TCustomForm& form) {
  if (responder_) responder_(form);
  // What the responder posted (a release, a close) is delivered before the
  // modal result is read, as a modal loop would.
  Application().ProcessMessages();
}

TApplication& TApplication::Instance() {
  static TApplication application;
  return application;
}

TApplication::TApplication()
    : presenter_(std::make_unique<HeadlessPresenter>()),
      fonts_{"宋体", "SimSun", "新細明體", "PMingLiU", "Tahoma", "Arial", "Courier New", "MS Sans Serif"} {}

HWND TApplication::AllocateHandle(TWinControl* control) {
  const HWND handle = nextHandle_++;
  handles_[handle] = control;
  return handle;
}

void TApplication::ReleaseHandle(HWND handle) { handles_.erase(handle); }

TWinControl* TApplication::FindControl(HWND handle) const {
  const auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : found->second;
}

LPARAM TApplication::SendMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(handle);
  return control ? control->Perform(msg, wParam, lParam) : 0;
}

bool TApplication::PostMessage(HWND handle, unsigned msg, WPARAM wParam, LPARAM lParam) {
  if (!FindControl(handle)) return false;
  queue_.push_back({handle, TMessage{msg, wParam, lParam, 0}});
  return true;
}

bool TApplication::HandleMessage() {
  if (queue_.empty()) return false;
  const QueuedMessage next = queue_.front();
  queue_.pop_front();
  // A window that went away since the message was posted no longer gets it.
  if (TWinControl* control = FindControl(next.Handle))
    control->Perform(next.Message.Msg, next.Message.WParam, next.Message.LParam);
  return true;
}

void TApplication::ProcessMessages() {
  while (HandleMessage()) {
  }
}

void TApplication::HoldUntilModalRunsEnd(HWND handle, const TMessage& message) {
  held_.push_back({handle, message});
}

void TApplication::EndModalRun() {
  if (--modalRuns_ > 0) return;
  for (const QueuedMessage& message : held_) queue_.push_back(message);
  held_.clear();
}

ModalPresenter& TApplication::Presenter() { return *presenter_; }

void TApplication::SetPresenter(std::unique_ptr<ModalPresenter> presenter) {
  presenter_ = presenter ? std::move(presenter) : std::make_unique<HeadlessPresenter>();
}

void TApplication::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TApplication::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
  if (activeForm_ == form) activeForm_ = nullptr;
}

void TApplication::SetActiveForm(TCustomForm* form) {
  if (form == activeForm_) return;
  TCustomForm* previous = activeForm_;
  activeForm_ = form;
  if (previous) previous->OnDeactivate(previous);
  if (form) form->OnActivate(form);
}

}  // namespace qv
