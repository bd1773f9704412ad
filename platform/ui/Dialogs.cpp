#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/Label.h"

namespace qv {

namespace {

struct ButtonKind {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};

// In TMsgDlgBtn order.
const ButtonKind kButtons[] = {
    {"Yes", "&Yes", mrYes},           {"No", "&No", mrNo},
    {"OK", "OK", mrOk},               {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},     {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},  {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll}, {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};

const char* const kTypeCaptions[] = {"Warning", "Error", "Information", "Confirmation"};

// The slot of the dialog type's picture; a window backend shows the
// system's picture for Kind.
class TDialogImage : public TGraphicControl {
  QV_OBJECT(TDialogImage, TGraphicControl)
  TDialogImage(TComponent* owner, TMsgDlgType kind) : TGraphicControl(owner), kind_(kind) {}
  TMsgDlgType Kind() const { return kind_; }

 private:
  TMsgDlgType kind_;
};

const TClass& TDialogImage::StaticClass() {
  static const TClass cls = ClassBuilder<TDialogImage>("TDialogImage", &TGraphicControl::StaticClass())
                                .Enumeration("Kind", MsgDlgTypeType(), &TDialogImage::Kind);
  return cls;
}

// The dialog form: Enter clicks the focused (or default) button, Escape the cancel button.
class TMessageForm : public TForm {
  QV_OBJECT(TMessageForm, TForm)

  explicit TMessageForm(TComponent* owner) : TForm(owner) { SetKeyPreview(true); }

  TButton* defaultButton = nullptr;
  TButton* cancelButton = nullptr;

  void KeyDown(Word& key, TShiftState shift) override {
    if (key == VK_RETURN && !shift) {
      auto* focused = ObjectAs<TButton>(ActiveControl());
      if (TButton* button = focused ? focused : defaultButton) button->Click();
      key = 0;
    } else if (key == VK_ESCAPE && !shift) {
      if (cancelButton)
        cancelButton->Click();
      else
        Close();
      key = 0;
    }
    if (key) TForm::KeyDown(key, shift);
  }
};

const TClass& TMessageForm::StaticClass() {
  static const TClass cls = ClassBuilder<TMessageForm>("TMessageForm", &TForm::StaticClass());
  return cls;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

struct TextSize {
  int Width = 0, Height = 0;
};

TextSize MeasureText(const TFont& font, const std::string& text) {
  const std::vector<std::string> lines = LinesOf(text);
  TextSize size;
  for (const std::string& line : lines) size.Width = std::max(size.Width, TextWidthOf(font, line));
  size.Height = static_cast<int>(lines.size()) * TextHeightOf(font);
  return size;
}

std::vector<TMsgDlgBtn> ChosenButtons(TMsgDlgButtons buttons) {
  std::vector<TMsgDlgBtn> chosen;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (buttons & MsgDlgButton(static_cast<TMsgDlgBtn>(b))) chosen.push_back(static_cast<TMsgDlgBtn>(b));
  return chosen;
}

// The first of the candidates that the dialog has, else fallback.
TButton* FirstOf(const TForm& form, std::initializer_list<TMsgDlgBtn> candidates, TButton* fallback) {
  for (TMsgDlgBtn b : candidates)
    if (auto* button = ObjectAs<TButton>(form.FindComponent(kButtons[b].Name))) return button;
  return fallback;
}

std::string CaptionOf(TMsgDlgType type) {
  return type == mtCustom ? Application().Title() : kTypeCaptions[type];
}

// Puts the image (none for a custom dialog) and the text on the form;
// returns the rectangle around both, measured from the form's origin.
TRect PlaceContent(TForm& form, const std::string& message, TMsgDlgType type) {
  int textLeft = kDialogMargin, bottom = kDialogMargin;
  if (type != mtCustom) {
    auto* image = new TDialogImage(&form, type);
    image->SetName("Image");
    image->SetParent(&form);
    image->SetBounds(kDialogMargin, kDialogMargin, kDialogImageSize, kDialogImageSize);
    textLeft += kDialogImageSize + kDialogImageGap;
    bottom = image->BoundsRect().Bottom;
  }
  const TextSize textSize = MeasureText(form.Font(), message);
  auto* text = new TLabel(&form);
  text->SetName("Message");
  text->SetParent(&form);
  text->SetAutoSize(false);       // placed here, measured line by line
  text->SetShowAccelChar(false);  // an "&" in a message is text
  text->SetCaption(message);
  text->SetBounds(textLeft, kDialogMargin, textSize.Width, textSize.Height);
  return {0, 0, text->BoundsRect().Right, std::max(bottom, text->BoundsRect().Bottom)};
}

// One button per chosen button, left to right from (left, top).
void PlaceButtons(TForm& form, const std::vector<TMsgDlgBtn>& chosen, int left, int top) {
  for (TMsgDlgBtn b : chosen) {
    auto* button = new TButton(&form);
    button->SetModalResult(kButtons[b].Result);
    button->SetName(kButtons[b].Name);
    button->SetCaption(kButtons[b].Caption);
    button->SetParent(&form);
    button->SetBounds(left, top, kDialogButtonWidth, kDialogButtonHeight);
    left += kDialogButtonWidth + kDialogButtonSpacing;
  }
}

// Frees a form on every way out of a scope.
struct FormFree {
  void operator()(TForm* form) const { TObject::Free(form); }
};

}  // namespace

const TEnumType& MsgDlgTypeType() {
  static const TEnumType type("TMsgDlgType", {"mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom"});
  return type;
}

TForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
  std::unique_ptr<TMessageForm, FormFree> form(CreateForm<TMessageForm>(nullptr));
  LoadingScope loading(*form);
  form->SetCaption(CaptionOf(type));
  form->SetPosition(poScreenCenter);

  const TRect content = PlaceContent(*form, message, type);
  const std::vector<TMsgDlgBtn> chosen = ChosenButtons(buttons);
  const int count = static_cast<int>(chosen.size());
  const int rowWidth = count ? count * kDialogButtonWidth + (count - 1) * kDialogButtonSpacing : 0;
  const int clientWidth = std::max(content.Right, rowWidth + kDialogMargin) + kDialogMargin;
  const int buttonTop = content.Bottom + kDialogTextGap;
  PlaceButtons(*form, chosen, (clientWidth - rowWidth) / 2, buttonTop);
  form->SetBounds(0, 0, clientWidth, (count ? buttonTop + kDialogButtonHeight : content.Bottom) + kDialogMargin);

  TButton* first = count ? ObjectAs<TButton>(form->FindComponent(kButtons[chosen.front()].Name)) : nullptr;
  form->defaultButton = FirstOf(*form, {mbOK, mbYes}, first);
  form->cancelButton = FirstOf(*form, {mbCancel, mbNo}, nullptr);
  if (form->defaultButton) form->defaultButton->SetDefault(true);
  if (form->cancelButton) form->cancelButton->SetCancel(true);
  form->SetActiveControl(form->defaultButton);
  return form.release();
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  std::unique_ptr<TForm, FormFree> form(CreateMessageDialog(message, type, buttons));
  form->SetHelpContext(helpContext);
  return form->ShowModal();
}

}  // namespace qv
