#pragma once
// The application: window handles, the message queue and its loop, the
// modal presenter, the screen's forms and fonts, and hint settings.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Messages.h"
#include "platform/ui/graphics/Graphics.h"

namespace qv {

class TWinControl;
class TCustomForm;
class TControl;

// Runs a form modally: sets its modal result and returns when it is known.
class ModalPresenter {
 public:
  virtual ~ModalPresenter() = default;
  virtual void Run(TCustomForm& form) = 0;
};

// Without windows: hands the shown form to a responder (the host or a test)
// that works it and sets its modal result. A form nobody answers is
// cancelled rather than left waiting.
class HeadlessPresenter : public ModalPresenter {
 public:
  using Responder = std::function<void(TCustomForm& form)>;
  explicit HeadlessPresenter(Responder responder = nullptr) : responder_(std::move(responder)) {}
  void SetResponder(Responder responder) { responder_ = std::move(responder); }
  void Run(TCustomForm& form) override;

 private:
  Responder responder_;
};

class TApplication {
 public:
  static TApplication& Instance();

  // ---- handles ----
  HWND AllocateHandle(TWinControl* control);
  void ReleaseHandle(HWND handle);
  TWinControl* FindControl(HWND handle) const;

  // ---- messages ----
  LPARAM SendMessage(HWND handle, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
  bool PostMessage(HWND handle, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Delivers every message queued so far (and those they post).
  void ProcessMessages();
  // Delivers one queued message; false when the queue was empty.
  bool HandleMessage();
  std::size_t PendingMessages() const { return queue_.size(); }

  // ---- modal forms ----
  // Marks a modal run in progress for its lifetime. Messages held meanwhile
  // are queued again when the last run ends.
  class ModalRun {
   public:
    ModalRun() { ++Instance().modalRuns_; }
    ~ModalRun() { Instance().EndModalRun(); }
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;
  };
  bool InModalRun() const { return modalRuns_ > 0; }
  // Keeps a delivered message back until no modal run is in progress.
  void HoldUntilModalRunsEnd(HWND handle, const TMessage& message);
  ModalPresenter& Presenter();
  // Installs a presenter; nullptr restores a headless one without responder.
  void SetPresenter(std::unique_ptr<ModalPresenter> presenter);

  // ---- forms and screen ----
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  const std::vector<TCustomForm*>& Forms() const { return forms_; }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }
  TCustomForm* ActiveForm() const { return activeForm_; }
  void SetActiveForm(TCustomForm* form);
  // The control with the focus, application-wide.
  TWinControl* FocusedControl() const { return focused_; }
  void SetFocusedControl(TWinControl* control) { focused_ = control; }
  const std::vector<std::string>& ScreenFonts() const { return fonts_; }
  // The fonts of desktop icons, hint windows and menus.
  TFont& IconFont() { return iconFont_; }
  TFont& HintFont() { return hintFont_; }
  TFont& MenuFont() { return menuFont_; }

  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  // Milliseconds a hint stays up while the pointer rests.
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

 private:
  TApplication();

  struct QueuedMessage {
    HWND Handle;
    TMessage Message;
  };

  std::map<HWND, TWinControl*> handles_;
  HWND nextHandle_ = 1;
  void EndModalRun();

  std::deque<QueuedMessage> queue_;
  int modalRuns_ = 0;
  std::vector<QueuedMessage> held_;
  std::unique_ptr<ModalPresenter> presenter_;
  std::vector<TCustomForm*> forms_;
  TCustomForm* mainForm_ = nullptr;
  TCustomForm* activeForm_ = nullptr;
  TWinControl* focused_ = nullptr;
  std::vector<std::string> fonts_;
  TFont iconFont_, hintFont_, menuFont_;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  std::string title_;
};

inline TApplication& Application() { return TApplication::Instance(); }

}  // namespace qv
