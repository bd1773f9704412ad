#pragma once
// Edits with an attached caption label, and a data edit with a lookup
// button.
//
// TQvEdit and TQvDBEdit each own a label named "EditLabel" whose focus
// control is the edit. The label sits beside the edit (LabelPosition) at
// LabelSpacing pixels; it is placed again on every move or resize of the
// edit and when the position, spacing or caption change, and it follows the
// edit's parent, enabled state and visibility. TQvBtnDBEdit adds a flat
// TGSpeedButton named "F2Button" right of the edit, square and as high as
// the edit, that opens the edit's lookup.

#include <memory>
#include <string>

#include "controls/GSpdBtn.h"
#include "platform/ui/controls/DBEdit.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/Label.h"

namespace qv {

enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
const TEnumType& LabelPositionType();

// The label of a labelled edit and the rules that keep it beside the edit.
// The edit owns the label; the edit tells the binding of its changes.
class TEditLabelBinding {
 public:
  explicit TEditLabelBinding(TWinControl& edit);
  TEditLabelBinding(const TEditLabelBinding&) = delete;
  TEditLabelBinding& operator=(const TEditLabelBinding&) = delete;

  // nullptr once the label has gone (its parent may free it first).
  TLabel* Label() const;
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  TLabelPosition Position() const { return position_; }
  void SetPosition(TLabelPosition position);
  int Spacing() const { return spacing_; }
  // Negative values are ignored.
  void SetSpacing(int spacing);

  void Place();
  void FollowParent();
  void FollowEnabled();
  void FollowVisible();
  // The edit's Notification: forgets the label when it goes.
  void ComponentRemoved(const TComponent* component);
  // Frees the label (the edit's destructor).
  void Release();

 private:
  TWinControl& edit_;
  TLabel* label_;
  TLabelPosition position_ = lpLeft;
  int spacing_ = 4;
};

class TQvEdit : public TEdit {
  QV_OBJECT(TQvEdit, TEdit)

  explicit TQvEdit(TComponent* owner);
  ~TQvEdit() override;

  TLabel* EditLabel() const { return binding_.Label(); }
  // The label's caption (the edit's own text is Text).
  std::string Caption() const { return binding_.Caption(); }
  void SetCaption(const std::string& caption) { binding_.SetCaption(caption); }
  TLabelPosition LabelPosition() const { return binding_.Position(); }
  void SetLabelPosition(TLabelPosition position) { binding_.SetPosition(position); }
  int LabelSpacing() const { return binding_.Spacing(); }
  void SetLabelSpacing(int spacing) { binding_.SetSpacing(spacing); }

  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(TWinControl* parent) override;

 protected:
  void EnabledChanged() override { binding_.FollowEnabled(); }
  void VisibleChanged() override { binding_.FollowVisible(); }
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TEditLabelBinding binding_;
};

class TQvDBEdit : public TDBEdit {
  QV_OBJECT(TQvDBEdit, TDBEdit)

  explicit TQvDBEdit(TComponent* owner);
  ~TQvDBEdit() override;

  TLabel* EditLabel() const { return binding_.Label(); }
  std::string Caption() const { return binding_.Caption(); }
  void SetCaption(const std::string& caption) { binding_.SetCaption(caption); }
  TLabelPosition LabelPosition() const { return binding_.Position(); }
  void SetLabelPosition(TLabelPosition position) { binding_.SetPosition(position); }
  int LabelSpacing() const { return binding_.Spacing(); }
  void SetLabelSpacing(int spacing) { binding_.SetSpacing(spacing); }

  // While designing, the caption becomes the field's display label.
  void SetDataField(const std::string& dataField) override;

  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(TWinControl* parent) override;

 protected:
  // Places what is attached to the edit: the label here.
  virtual void PlaceAttachments() { binding_.Place(); }
  void EnabledChanged() override { binding_.FollowEnabled(); }
  void VisibleChanged() override { binding_.FollowVisible(); }
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TEditLabelBinding binding_;
};

using TDialogEvent = TNotifyEvent;

class TQvBtnDBEdit : public TQvDBEdit {
  QV_OBJECT(TQvBtnDBEdit, TQvDBEdit)

  explicit TQvBtnDBEdit(TComponent* owner);
  ~TQvBtnDBEdit() override;

  // nullptr once the button has gone (its parent may free it first).
  TGSpeedButton* F2Button() const;
  // Pixels between edit and button.
  int ButtonSpacing() const { return buttonSpacing_; }
  void SetButtonSpacing(int spacing);
  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int glyphIndex);
  std::string ButtonHint() const;
  void SetButtonHint(const std::string& hint);

  void SetParent(TWinControl* parent) override;

  // Raised by a click on the button instead of the lookup request.
  TDialogEvent OnDialog;

 protected:
  void PlaceAttachments() override;
  void EnabledChanged() override;
  void VisibleChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // OnDialog when assigned; otherwise the edit takes the focus and, once it
  // has it, its owner gets WM_LOOKUPREQUEST for it.
  void ButtonClick(TObject* sender);

  TGSpeedButton* button_;
  int buttonSpacing_ = 2;
  int glyphIndex_ = 8;
};

}  // namespace qv
