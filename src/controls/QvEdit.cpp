#include "controls/QvEdit.h"

#include "platform/ui/Application.h"

namespace qv {

const TEnumType& LabelPositionType() {
  static const TEnumType type("TLabelPosition", {"lpAbove", "lpBelow", "lpLeft", "lpRight"});
  return type;
}

// ---- TEditLabelBinding ----

TEditLabelBinding::TEditLabelBinding(TWinControl& edit) : edit_(edit), label_(new TLabel(&edit)) {
  label_->SetName("EditLabel");
  label_->SetFocusControl(&edit);
}

TLabel* TEditLabelBinding::Label() const { return label_; }

std::string TEditLabelBinding::Caption() const { return label_ ? label_->Caption() : std::string(); }

void TEditLabelBinding::SetCaption(const std::string& caption) {
  if (!label_) return;
  label_->SetCaption(caption);
  Place();
}

void TEditLabelBinding::SetPosition(TLabelPosition position) {
  position_ = position;
  Place();
}

void TEditLabelBinding::SetSpacing(int spacing) {
  if (spacing < 0) return;
  spacing_ = spacing;
  Place();
}

void TEditLabelBinding::Place() {
  if (!label_) return;
  const TRect e = edit_.BoundsRect();
  const int width = label_->Width(), height = label_->Height();
  const int besideTop = e.Top + (e.Height() - height) / 2;
  switch (position_) {
    case lpAbove: label_->SetBounds(e.Left, e.Top - height - spacing_, width, height); break;
    case lpBelow: label_->SetBounds(e.Left, e.Bottom + spacing_, width, height); break;
    case lpLeft: label_->SetBounds(e.Left - width - spacing_, besideTop, width, height); break;
    case lpRight: label_->SetBounds(e.Right + spacing_, besideTop, width, height); break;
  }
}

void TEditLabelBinding::FollowParent() {
  if (!label_) return;
  label_->SetParent(edit_.Parent());
  Place();
}

void TEditLabelBinding::FollowEnabled() {
  if (label_) label_->SetEnabled(edit_.Enabled());
}

void TEditLabelBinding::FollowVisible() {
  if (label_) label_->SetVisible(edit_.Visible());
}

void TEditLabelBinding::ComponentRemoved(const TComponent* component) {
  if (component == label_) label_ = nullptr;
}

void TEditLabelBinding::Release() {
  TLabel* label = label_;
  label_ = nullptr;
  TObject::Free(label);
}

// ---- TQvEdit ----

const TClass& TQvEdit::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQvEdit>("TQvEdit", &TEdit::StaticClass())
          .Object("EditLabel", TLabel::StaticClass(), &TQvEdit::EditLabel)
          .String("Caption", &TQvEdit::Caption, &TQvEdit::SetCaption)
          .Enumeration("LabelPosition", LabelPositionType(), &TQvEdit::LabelPosition, &TQvEdit::SetLabelPosition)
          .Integer("LabelSpacing", &TQvEdit::LabelSpacing, &TQvEdit::SetLabelSpacing);
  return cls;
}

TQvEdit::TQvEdit(TComponent* owner) : TEdit(owner), binding_(*this) {}

TQvEdit::~TQvEdit() { binding_.Release(); }

void TQvEdit::SetBounds(int left, int top, int width, int height) {
  TEdit::SetBounds(left, top, width, height);
  binding_.Place();
}

void TQvEdit::SetParent(TWinControl* parent) {
  TEdit::SetParent(parent);
  binding_.FollowParent();
}

// The label has finished loading just before: it has its size now.
void TQvEdit::Loaded() {
  TEdit::Loaded();
  binding_.Place();
}

void TQvEdit::Notification(TComponent* component, TOperation operation) {
  TEdit::Notification(component, operation);
  if (operation == TOperation::opRemove) binding_.ComponentRemoved(component);
}

// ---- TQvDBEdit ----

const TClass& TQvDBEdit::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQvDBEdit>("TQvDBEdit", &TDBEdit::StaticClass())
          .Object("EditLabel", TLabel::StaticClass(), &TQvDBEdit::EditLabel)
          .String("Caption", &TQvDBEdit::Caption, &TQvDBEdit::SetCaption)
          .Enumeration("LabelPosition", LabelPositionType(), &TQvDBEdit::LabelPosition, &TQvDBEdit::SetLabelPosition)
          .Integer("LabelSpacing", &TQvDBEdit::LabelSpacing, &TQvDBEdit::SetLabelSpacing);
  return cls;
}

TQvDBEdit::TQvDBEdit(TComponent* owner) : TDBEdit(owner), binding_(*this) {}

TQvDBEdit::~TQvDBEdit() { binding_.Release(); }

void TQvDBEdit::SetDataField(const std::string& dataField) {
  TDBEdit::SetDataField(dataField);
  if (!HasState(ComponentStateFlag::Designing)) return;
  if (const TField* field = Field()) SetCaption(field->DisplayLabel());
}

void TQvDBEdit::SetBounds(int left, int top, int width, int height) {
  TDBEdit::SetBounds(left, top, width, height);
  PlaceAttachments();
}

void TQvDBEdit::SetParent(TWinControl* parent) {
  TDBEdit::SetParent(parent);
  binding_.FollowParent();
}

// What is attached has finished loading just before: it has its size now.
void TQvDBEdit::Loaded() {
  TDBEdit::Loaded();
  PlaceAttachments();
}

void TQvDBEdit::Notification(TComponent* component, TOperation operation) {
  TDBEdit::Notification(component, operation);
  if (operation == TOperation::opRemove) binding_.ComponentRemoved(component);
}

// ---- TQvBtnDBEdit ----

const TClass& TQvBtnDBEdit::StaticClass() {
  static const TClass cls =
      ClassBuilder<TQvBtnDBEdit>("TQvBtnDBEdit", &TQvDBEdit::StaticClass())
          .Integer("ButtonSpacing", &TQvBtnDBEdit::ButtonSpacing, &TQvBtnDBEdit::SetButtonSpacing)
          .Integer("GlyphIndex", &TQvBtnDBEdit::GlyphIndex, &TQvBtnDBEdit::SetGlyphIndex)
          .String("ButtonHint", &TQvBtnDBEdit::ButtonHint, &TQvBtnDBEdit::SetButtonHint)
          .Event("OnDialog", &TQvBtnDBEdit::OnDialog);
  return cls;
}

TQvBtnDBEdit::TQvBtnDBEdit(TComponent* owner) : TQvDBEdit(owner), button_(new TGSpeedButton(this)) {
  button_->SetName("F2Button");
  button_->SetFlat(true);
  button_->SetGlyphIndex(glyphIndex_);
  button_->OnClick = MethodOf<&TQvBtnDBEdit::ButtonClick>(this);
  PlaceAttachments();
}

TQvBtnDBEdit::~TQvBtnDBEdit() {
  TGSpeedButton* button = button_;
  button_ = nullptr;
  TObject::Free(button);
}

TGSpeedButton* TQvBtnDBEdit::F2Button() const { return button_; }

std::string TQvBtnDBEdit::ButtonHint() const { return button_ ? button_->Hint() : std::string(); }

void TQvBtnDBEdit::SetButtonSpacing(int spacing) {
  buttonSpacing_ = spacing;
  PlaceAttachments();
}

void TQvBtnDBEdit::SetGlyphIndex(int glyphIndex) {
  glyphIndex_ = glyphIndex;
  if (button_) button_->SetGlyphIndex(glyphIndex);
}

void TQvBtnDBEdit::SetButtonHint(const std::string& hint) {
  if (button_) button_->SetHint(hint);
}

// Right of the edit at ButtonSpacing, square, as high as the edit.
void TQvBtnDBEdit::PlaceAttachments() {
  TQvDBEdit::PlaceAttachments();
  if (button_) button_->SetBounds(Left() + Width() + buttonSpacing_, Top(), Height(), Height());
}

void TQvBtnDBEdit::SetParent(TWinControl* parent) {
  TQvDBEdit::SetParent(parent);
  if (button_) button_->SetParent(parent);
  PlaceAttachments();
}

void TQvBtnDBEdit::EnabledChanged() {
  TQvDBEdit::EnabledChanged();
  if (button_) button_->SetEnabled(Enabled());
}

void TQvBtnDBEdit::VisibleChanged() {
  TQvDBEdit::VisibleChanged();
  if (button_) button_->SetVisible(Visible());
}

void TQvBtnDBEdit::Notification(TComponent* component, TOperation operation) {
  TQvDBEdit::Notification(component, operation);
  if (operation == TOperation::opRemove && component == button_) button_ = nullptr;
}

void TQvBtnDBEdit::ButtonClick(TObject*) {
  if (OnDialog) return OnDialog(this);
  if (CanFocus()) SetFocus();
  if (!Focused()) return;
  if (auto* owner = ObjectAs<TWinControl>(Owner()))
    Application().SendMessage(owner->Handle(), WM_LOOKUPREQUEST, 0, reinterpret_cast<LPARAM>(this));
}

}  // namespace qv
