#include "controls/DBLabel.h"

#include <algorithm>
#include <string>

#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Dialogs.h"

namespace qv {

namespace {

// The object in a published object property, or nullptr.
TObject* ObjectProperty(const TObject* object, std::string_view name) {
  const TPropInfo* info = GetPropInfo(object, name);
  return info && info->Kind == TTypeKind::Class ? GetObjectProp(*object, *info) : nullptr;
}

const TPropInfo* StringProperty(const TObject* object, std::string_view name) {
  const TPropInfo* info = GetPropInfo(object, name);
  return info && info->Kind == TTypeKind::String ? info : nullptr;
}

// The field of a data set by name (without regard to ASCII case): one of
// the components the data set owns that publishes a matching "FieldName",
// as the fields of TDataSet do; nullptr when there is none.
TComponent* FindField(TObject* dataSet, const std::string& fieldName) {
  const auto* owner = ObjectAs<TComponent>(dataSet);
  if (!owner || fieldName.empty()) return nullptr;
  for (TComponent* component : owner->ComponentList())
    if (const TPropInfo* name = StringProperty(component, "FieldName");
        name && SameTextAscii(GetStrProp(*component, *name), fieldName))
      return component;
  return nullptr;
}

}  // namespace

const TEnumType& PosType() {
  static const TEnumType type("TPos", {"psTop", "psLeft", "psRight", "psBottom"});
  return type;
}

const TClass& TDBLabel::StaticClass() {
  static const TClass cls =
      ClassBuilder<TDBLabel>("TDBLabel", &TLabel::StaticClass())
          .Object("FocusControl", TWinControl::StaticClass(), &TDBLabel::FocusControl, &TDBLabel::SetFocusControl)
          .Enumeration("Pos", PosType(), &TDBLabel::Pos, &TDBLabel::SetPos)
          .Integer("Gap", &TDBLabel::Gap, &TDBLabel::SetGap)
          .Boolean("AutoAlign", &TDBLabel::AutoAlign, &TDBLabel::SetAutoAlign)
          .Boolean("AutoCaption", &TDBLabel::AutoCaption, &TDBLabel::SetAutoCaption);
  return cls;
}

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) { SetCaption("挂靠标签"); }

TDBLabel* TDBLabel::DescribedElsewhere(const TWinControl* control) const {
  if (!Parent()) return nullptr;
  for (TComponent* component : Parent()->ComponentList())
    if (auto* label = ObjectAs<TDBLabel>(component); label && label->FocusControl() == control) return label;
  return nullptr;
}

void TDBLabel::SetFocusControl(TWinControl* control) {
  if (control) {
    if (const TDBLabel* described = DescribedElsewhere(control)) {
      if (described != this) MessageDlg("不能同时有两个 DBLabel 指到同一个 Control.", mtError, MsgDlgButtons(mbOK), 0);
      return;
    }
  }
  if (FocusControl()) FocusControl()->RemoveBoundsFollower(this);
  TLabel::SetFocusControl(control);
  if (control) control->AddBoundsFollower(this);
  RefreshAndAlign();
}

void TDBLabel::SetPos(TPos pos) {
  pos_ = pos;
  RefreshAndAlign();
}

void TDBLabel::SetGap(std::uint8_t gap) {
  gap_ = gap;
  RefreshAndAlign();
}

void TDBLabel::SetAutoAlign(bool autoAlign) {
  autoAlign_ = autoAlign;
  RefreshAndAlign();
}

void TDBLabel::SetAutoCaption(bool autoCaption) {
  autoCaption_ = autoCaption;
  RefreshAndAlign();
}

void TDBLabel::RefreshAndAlign() {
  // While loading the control may not be placed or bound yet: Loaded does it.
  if (HasState(ComponentStateFlag::Loading)) return;
  RefreshCaption();
  AlignToControl();
}

void TDBLabel::RefreshCaption() {
  TWinControl* control = FocusControl();
  if (!autoCaption_ || !control) return;
  try {
    const TObject* dataSource = ObjectProperty(control, "DataSource");
    TObject* dataSet = dataSource ? ObjectProperty(dataSource, "DataSet") : nullptr;
    const TPropInfo* dataField = StringProperty(control, "DataField");
    if (!dataSet || !dataField) return;
    const TComponent* field = FindField(dataSet, GetStrProp(*control, *dataField));
    if (const TPropInfo* label = field ? StringProperty(field, "DisplayLabel") : nullptr)
      SetCaption(GetStrProp(*field, *label));
  } catch (const Exception&) {
    // A control or field that does not read as expected keeps the caption.
  }
}

void TDBLabel::AlignToControl() {
  const TWinControl* c = FocusControl();
  if (!c || !autoAlign_) return;
  // Beside the control: centred on it unless the heights agree.
  const int besideTop = c->Height() == Height() ? c->Top() : c->Top() + c->Height() / 2 - Height() / 2;
  int left = c->Left(), top = besideTop;
  switch (pos_) {
    case psTop: top = c->Top() - Height() - gap_; break;
    case psBottom: top = c->Top() + c->Height() + gap_; break;
    case psLeft: left = c->Left() - Width() - gap_; break;
    case psRight: left = c->Left() + c->Width() + gap_; break;
  }
  SetBounds(std::max(left, 0), std::max(top, 0), Width(), Height());
}

void TDBLabel::Loaded() {
  TLabel::Loaded();
  RefreshAndAlign();
}

void TDBLabel::Notification(TComponent* component, TOperation operation) {
  // A control leaving its owner but living on must not keep links to this label.
  if (operation == TOperation::opRemove && component && component == FocusControl() &&
      !component->HasState(ComponentStateFlag::Destroying)) {
    RemoveFreeNotification(component);
    FocusControl()->RemoveBoundsFollower(this);
  }
  TLabel::Notification(component, operation);
}

void TDBLabel::FollowedBoundsChanged(TControl& followed) {
  if (&followed == FocusControl() && HasState(ComponentStateFlag::Designing)) AlignToControl();
}

}  // namespace qv
