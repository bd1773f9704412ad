#include "platform/data/DB.h"

#include <algorithm>

#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"

namespace qv {

namespace {

// A value in the representation of a field type; null and empty stay null.
Variant ConvertForField(const Variant& value, TFieldType type) {
  if (value.IsNull() || value.IsEmpty()) return Variant::Null();
  switch (type) {
    case ftString: return Variant(value.ToString());
    case ftInteger: return Variant(static_cast<long long>(value.ToInt64()));
    case ftFloat: return Variant(value.ToDouble());
    case ftBoolean: return Variant(value.ToBool());
    case ftDateTime: return Variant::FromDate(value.ToDate());
    case ftUnknown: break;
  }
  return value;
}

}  // namespace

const TEnumType& FieldTypeType() {
  static const TEnumType type("TFieldType", {"ftUnknown", "ftString", "ftInteger", "ftFloat", "ftBoolean", "ftDateTime"});
  return type;
}

// ---- TField ----

const TClass& TField::StaticClass() {
  static const TClass cls = ClassBuilder<TField>("TField", &TComponent::StaticClass())
                                .String("FieldName", &TField::FieldName, &TField::SetFieldName)
                                .String("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
                                .Enumeration("DataType", FieldTypeType(), &TField::DataType);
  return cls;
}

TField::TField(TDataSet& dataSet, std::string fieldName, TFieldType dataType)
    : TComponent(&dataSet), dataSet_(&dataSet), fieldName_(std::move(fieldName)), dataType_(dataType) {
  dataSet.fields_.fields_.push_back(this);
}

TField::~TField() {
  auto& fields = dataSet_->fields_.fields_;
  fields.erase(std::remove(fields.begin(), fields.end(), this), fields.end());
}

int TField::Index() const { return dataSet_->fields_.IndexOf(this); }

Variant TField::AsVariant() const {
  dataSet_->CheckActive();
  return dataSet_->GetFieldValue(*this);
}

void TField::SetAsVariant(const Variant& value) {
  dataSet_->CheckActive();
  dataSet_->SetFieldValue(*this, ConvertForField(value, dataType_));
  dataSet_->DataEvent(this);
}

std::string TField::AsString() const {
  const Variant value = AsVariant();
  return value.IsNull() ? std::string() : value.ToString();
}

int TField::AsInteger() const {
  const Variant value = AsVariant();
  return value.IsNull() ? 0 : value.ToInt();
}

double TField::AsFloat() const {
  const Variant value = AsVariant();
  return value.IsNull() ? 0.0 : value.ToDouble();
}

bool TField::IsNull() const {
  const Variant value = AsVariant();
  return value.IsNull() || value.IsEmpty();
}

// ---- TFields ----

const TClass& TFields::StaticClass() {
  static const TClass cls = ClassBuilder<TFields>("TFields", &TObject::StaticClass());
  return cls;
}

TField* TFields::Fields(int index) const {
  if (index < 0 || index >= Count()) throw ERangeError("Field index out of range");
  return fields_[static_cast<std::size_t>(index)];
}

int TFields::IndexOf(const TField* field) const {
  const auto it = std::find(fields_.begin(), fields_.end(), field);
  return it == fields_.end() ? -1 : static_cast<int>(it - fields_.begin());
}

TField* TFields::FindField(std::string_view fieldName) const {
  for (TField* field : fields_)
    if (SameTextAscii(field->FieldName(), fieldName)) return field;
  return nullptr;
}

TField* TFields::FieldByName(std::string_view fieldName) const {
  if (TField* field = FindField(fieldName)) return field;
  throw EDatabaseError("Field '" + std::string(fieldName) + "' not found");
}

// ---- TDataSet ----

const TClass& TDataSet::StaticClass() {
  static const TClass cls = ClassBuilder<TDataSet>("TDataSet", &TComponent::StaticClass())
                                .Boolean("Active", &TDataSet::Active, &TDataSet::SetActive);
  return cls;
}

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

// The fields reach back into fields_ when they go, so they go first.
TDataSet::~TDataSet() { DestroyComponents(); }

TField* TDataSet::AddField(const std::string& fieldName, TFieldType dataType) {
  if (active_) throw EDatabaseError("Cannot add a field to an open dataset");
  if (FindField(fieldName)) throw EDatabaseError("Duplicate field name '" + fieldName + "'");
  return new TField(*this, fieldName, dataType);
}

void TDataSet::SetActive(bool active) {
  if (HasState(ComponentStateFlag::Loading)) {
    activeWhenLoaded_ = active;
    return;
  }
  if (active == active_) return;
  if (active) {
    InternalOpen();
    active_ = true;
    MoveTo(0);
  } else {
    InternalClose();
    active_ = false;
    current_ = -1;
    bof_ = eof_ = true;
  }
  DataEvent(nullptr);
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (activeWhenLoaded_) SetActive(true);
}

void TDataSet::CheckActive() const {
  if (!active_) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

int TDataSet::RecordCount() const { return static_cast<int>(records_.size()); }

// Puts the cursor on a record (clamped to the records); no record when empty.
void TDataSet::MoveTo(int record) {
  const int count = RecordCount();
  current_ = count == 0 ? -1 : std::clamp(record, 0, count - 1);
}

void TDataSet::First() {
  CheckActive();
  MoveTo(0);
  bof_ = true;
  eof_ = RecordCount() == 0;
  DataEvent(nullptr);
}

void TDataSet::Last() {
  CheckActive();
  MoveTo(RecordCount() - 1);
  bof_ = RecordCount() == 0;
  eof_ = true;
  DataEvent(nullptr);
}

void TDataSet::Next() {
  CheckActive();
  if (current_ + 1 >= RecordCount()) {
    eof_ = true;
    return;
  }
  MoveTo(current_ + 1);
  bof_ = eof_ = false;
  DataEvent(nullptr);
}

void TDataSet::Prior() {
  CheckActive();
  if (current_ <= 0) {
    bof_ = true;
    return;
  }
  MoveTo(current_ - 1);
  bof_ = eof_ = false;
  DataEvent(nullptr);
}

void TDataSet::AppendRecord(const std::vector<Variant>& values) {
  CheckActive();
  std::vector<Variant> record(static_cast<std::size_t>(fields_.Count()), Variant::Null());
  for (int i = 0; i < fields_.Count() && i < static_cast<int>(values.size()); ++i)
    record[static_cast<std::size_t>(i)] = ConvertForField(values[static_cast<std::size_t>(i)], fields_[i]->DataType());
  records_.push_back(std::move(record));
  MoveTo(RecordCount() - 1);
  bof_ = eof_ = false;
  DataEvent(nullptr);
}

Variant TDataSet::GetFieldValue(const TField& field) const {
  const int column = field.Index();
  if (current_ < 0 || column < 0) return Variant::Null();
  const auto& record = records_[static_cast<std::size_t>(current_)];
  return column < static_cast<int>(record.size()) ? record[static_cast<std::size_t>(column)] : Variant::Null();
}

void TDataSet::SetFieldValue(const TField& field, const Variant& value) {
  if (current_ < 0) throw EDatabaseError("No current record");
  auto& record = records_[static_cast<std::size_t>(current_)];
  const auto column = static_cast<std::size_t>(field.Index());
  if (column >= record.size()) record.resize(column + 1, Variant::Null());
  record[column] = value;
}

void TDataSet::DataEvent(TField* field) {
  const std::vector<TDataSource*> sources = sources_;  // a handler may unbind a source
  for (TDataSource* source : sources) source->DataEvent(field);
}

// ---- TDataSource ----

const TClass& TDataSource::StaticClass() {
  static const TClass cls =
      ClassBuilder<TDataSource>("TDataSource", &TComponent::StaticClass())
          .Object("DataSet", TDataSet::StaticClass(), &TDataSource::DataSet, &TDataSource::SetDataSet)
          .Boolean("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled)
          .Event("OnDataChange", &TDataSource::OnDataChange);
  return cls;
}

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  while (!links_.empty()) links_.back()->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) {
    auto& sources = dataSet_->sources_;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    RemoveFreeNotification(dataSet_);
  }
  dataSet_ = dataSet;
  if (dataSet_) {
    dataSet_->sources_.push_back(this);
    FreeNotification(dataSet_);
  }
  NotifyLinks(nullptr);
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  NotifyLinks(nullptr);
}

// The data set is going: its list of sources is no longer there to touch.
void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove || component != dataSet_) return;
  dataSet_ = nullptr;
  NotifyLinks(nullptr);
}

void TDataSource::DataEvent(TField* field) {
  if (!enabled_) return;
  OnDataChange(this, field);
  NotifyLinks(field);
}

void TDataSource::NotifyLinks(TField* field) {
  const std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links) link->DataChanged(field);
}

// ---- TDataLink ----

TDataLink::~TDataLink() {
  if (!source_) return;
  auto& links = source_->links_;
  links.erase(std::remove(links.begin(), links.end(), this), links.end());
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_) {
    auto& links = source_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  source_ = source;
  if (source_) source_->links_.push_back(this);
  DataChanged(nullptr);
}

TDataSet* TDataLink::DataSet() const { return source_ && source_->Enabled() ? source_->DataSet() : nullptr; }

bool TDataLink::Active() const {
  const TDataSet* dataSet = DataSet();
  return dataSet && dataSet->Active();
}

}  // namespace qv
