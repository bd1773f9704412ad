#include "platform/data/ClientDataSet.h"

#include <algorithm>

#include "platform/automation/SocketConnection.h"
#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"

namespace qv {

namespace {

bool IsBlank(const Variant& value) { return value.IsNull() || value.IsEmpty(); }

// The field type that a provider's value stands for.
TFieldType TypeOfValue(const Variant& value) {
  switch (value.Type()) {
    case VarType::Integer: return ftInteger;
    case VarType::Real: return ftFloat;
    case VarType::Date: return ftDateTime;
    case VarType::Boolean: return ftBoolean;
    default: return ftString;
  }
}

// A value in the representation of a field type; texts keep their kind.
Variant ConvertTo(const Variant& value, TFieldType type) {
  if (IsBlank(value)) return Variant::Null();
  switch (type) {
    case ftString: return value.IsText() ? value : Variant(value.ToString());
    case ftInteger: return Variant(static_cast<long long>(value.ToInt64()));
    case ftFloat: return Variant(value.ToDouble());
    case ftBoolean: return Variant(value.ToBool());
    case ftDateTime: return Variant::FromDate(value.ToDate());
    case ftUnknown: break;
  }
  return value;
}

std::string Lower(std::string text) {
  for (char& c : text) c = AsciiLower(c);
  return text;
}

// Blanks first; texts by their bytes; other values by number.
int CompareValues(const Variant& a, const Variant& b, bool caseInsensitive = false) {
  if (IsBlank(a) || IsBlank(b)) return static_cast<int>(!IsBlank(a)) - static_cast<int>(!IsBlank(b));
  if (a.IsText() || b.IsText()) {
    const std::string x = caseInsensitive ? Lower(a.ToString()) : a.ToString();
    const std::string y = caseInsensitive ? Lower(b.ToString()) : b.ToString();
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
  }
  if (a.Type() == VarType::Boolean && b.Type() == VarType::Boolean)
    return static_cast<int>(a.ToBool()) - static_cast<int>(b.ToBool());
  const double x = a.ToDouble(), y = b.ToDouble();
  return x < y ? -1 : (x > y ? 1 : 0);
}

bool MatchesKey(const Variant& value, const Variant& key, TLocateOptions options) {
  const bool caseInsensitive = options & loCaseInsensitive;
  if ((options & loPartialKey) && value.IsText() && key.IsText()) {
    const std::string text = value.ToString(), prefix = key.ToString();
    return text.size() >= prefix.size() &&
           CompareValues(Variant(text.substr(0, prefix.size())), Variant(prefix), caseInsensitive) == 0;
  }
  return CompareValues(value, key, caseInsensitive) == 0;
}

std::vector<std::string> SplitFieldNames(std::string_view names) {
  std::vector<std::string> result;
  while (!names.empty()) {
    const std::size_t end = std::min(names.find(';'), names.size());
    const std::string_view name = TrimBlanks(names.substr(0, end));
    if (!name.empty()) result.emplace_back(name);
    names.remove_prefix(std::min(end + 1, names.size()));
  }
  return result;
}

// The key's values: a single value stands for an array of one.
std::vector<Variant> KeyValues(const Variant& key) {
  if (!key.IsArray()) return {key};
  if (key.DimCount() != 1) throw EDatabaseError("A key must be a one-dimensional array");
  std::vector<Variant> values;
  for (int i = key.LowBound(); i <= key.HighBound(); ++i) values.push_back(key[i]);
  return values;
}

}  // namespace

const TClass& TClientDataSet::StaticClass() {
  static const TClass cls =
      ClassBuilder<TClientDataSet>("TClientDataSet", &TDataSet::StaticClass())
          .String("ProviderName", &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName)
          .String("IndexName", &TClientDataSet::IndexName, &TClientDataSet::SetIndexName)
          .Object("RemoteServer", TSocketConnection::StaticClass(), &TClientDataSet::RemoteServer,
                  &TClientDataSet::SetRemoteServer);
  return cls;
}

TClientDataSet::TClientDataSet(TComponent* owner) : TDataSet(owner) {}

TClientDataSet::~TClientDataSet() = default;

// Messages start with the component's name when it has one.
std::string TClientDataSet::Context() const { return Name().empty() ? std::string() : Name() + ": "; }

void TClientDataSet::SetRemoteServer(TSocketConnection* server) {
  if (server == remoteServer_) return;
  if (remoteServer_) RemoveFreeNotification(remoteServer_);
  remoteServer_ = server;
  if (remoteServer_) FreeNotification(remoteServer_);
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
  TDataSet::Notification(component, operation);
  if (operation == TOperation::opRemove && component == remoteServer_) remoteServer_ = nullptr;
}

TDataSetState TClientDataSet::State() const {
  if (!Active()) return dsInactive;
  return editing_ ? dsEdit : dsBrowse;
}

// ---- opening and closing ----

AutomationPtr TClientDataSet::Server() {
  if (remoteServer_) return remoteServer_->AppServer().ToObject();
  if (appServer_) return appServer_;
  throw EDatabaseError(Context() + "Missing remote server or application server");
}

void TClientDataSet::InternalOpen() {
  if (providerName_.empty()) throw EDatabaseError(Context() + "Missing provider name");
  if (!indexName_.empty() && !FindIndex(indexName_))
    throw EDatabaseError(Context() + "Index '" + indexName_ + "' not found");
  const Variant reply = Server()->Call("AS_GetRecords", {Variant(providerName_)});
  try {
    LoadReply(reply);
    Sort();
  } catch (...) {
    InternalClose();
    throw;
  }
  SetCursor(order_.empty() ? -1 : 0, true, order_.empty());
}

void TClientDataSet::InternalClose() {
  editing_ = false;
  editBuffer_.clear();
  rows_.clear();
  order_.clear();
  SetCursor(-1, true, true);
  DropDynamicFields();
}

// [names (1-D texts), rows (2-D [row, column], or blank for none)].
void TClientDataSet::LoadReply(const Variant& reply) {
  const std::string malformed = Context() + "Malformed records from provider '" + providerName_ + "'";
  if (reply.DimCount() != 1 || reply.HighBound() - reply.LowBound() != 1) throw EDatabaseError(malformed);
  const Variant& names = reply[reply.LowBound()];
  const Variant& rows = reply[reply.LowBound() + 1];
  if (names.DimCount() != 1) throw EDatabaseError(malformed);
  const int columns = names.HighBound() - names.LowBound() + 1;
  const bool noRows = IsBlank(rows) || (rows.DimCount() == 2 && rows.HighBound(1) < rows.LowBound(1));
  if (!noRows && (rows.DimCount() != 2 || rows.HighBound(2) - rows.LowBound(2) + 1 != columns))
    throw EDatabaseError(malformed);
  for (int c = 0; c < columns; ++c)
    if (!names[names.LowBound() + c].IsText()) throw EDatabaseError(malformed);

  CreateFields(names, noRows ? Variant() : rows);
  if (noRows) return;
  for (int r = rows.LowBound(1); r <= rows.HighBound(1); ++r) {
    Row row(static_cast<std::size_t>(Fields().Count()), Variant::Null());
    for (int c = 0; c < columns; ++c) {
      const TField* field = FindField(names[names.LowBound() + c].ToString());
      if (field) row[static_cast<std::size_t>(field->Index())] = ConvertTo(rows.At(r, rows.LowBound(2) + c), field->DataType());
    }
    rows_.push_back(std::move(row));
  }
}

// Fields defined before opening are kept (columns without one are left
// out); otherwise each column gets a field typed by its first value.
void TClientDataSet::CreateFields(const Variant& names, const Variant& rows) {
  const int columns = names.HighBound() - names.LowBound() + 1;
  if (Fields().Count() > 0) {
    for (int i = 0; i < Fields().Count(); ++i) {
      bool delivered = false;
      for (int c = 0; c < columns; ++c)
        delivered = delivered || SameTextAscii(names[names.LowBound() + c].ToString(), Fields()[i]->FieldName());
      if (!delivered) throw EDatabaseError("Field '" + Fields()[i]->FieldName() + "' not found");
    }
    return;
  }
  for (int c = 0; c < columns; ++c) {
    TFieldType type = ftString;
    for (int r = rows.IsArray() ? rows.LowBound(1) : 0; rows.IsArray() && r <= rows.HighBound(1); ++r) {
      const Variant& value = rows.At(r, rows.LowBound(2) + c);
      if (IsBlank(value)) continue;
      type = TypeOfValue(value);
      break;
    }
    dynamicFields_.push_back(AddField(names[names.LowBound() + c].ToString(), type));
  }
}

void TClientDataSet::DropDynamicFields() {
  for (TField* field : dynamicFields_) delete field;
  dynamicFields_.clear();
}

// ---- indexes ----

void TClientDataSet::AddIndex(const std::string& name, const std::string& fieldNames) {
  if (FindIndex(name)) throw EDatabaseError("Duplicate index name '" + name + "'");
  if (SplitFieldNames(fieldNames).empty()) throw EDatabaseError("Index '" + name + "' has no fields");
  indexes_.push_back({name, fieldNames});
}

const TClientDataSet::IndexDef* TClientDataSet::FindIndex(std::string_view name) const {
  for (const IndexDef& index : indexes_)
    if (SameTextAscii(index.name, name)) return &index;
  return nullptr;
}

void TClientDataSet::SetIndexName(const std::string& name) {
  if (Active()) {
    if (!name.empty() && !FindIndex(name)) throw EDatabaseError(Context() + "Index '" + name + "' not found");
    CheckBrowseMode();
  }
  const int row = Active() ? CurrentRow() : -1;
  indexName_ = name;
  if (!Active()) return;
  Sort();
  MoveToRow(row);
}

std::vector<const TField*> TClientDataSet::ResolveFields(std::string_view fieldNames) const {
  std::vector<const TField*> fields;
  for (const std::string& name : SplitFieldNames(fieldNames)) fields.push_back(FieldByName(name));
  return fields;
}

// Delivery order, then stably by the current index's fields.
void TClientDataSet::Sort() {
  order_.resize(rows_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);
  const IndexDef* index = FindIndex(indexName_);
  if (!index || indexName_.empty()) return;
  const std::vector<const TField*> fields = ResolveFields(index->fieldNames);
  std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
    for (const TField* field : fields) {
      const auto column = static_cast<std::size_t>(field->Index());
      const int order = CompareValues(rows_[static_cast<std::size_t>(a)][column], rows_[static_cast<std::size_t>(b)][column]);
      if (order != 0) return order < 0;
    }
    return false;
  });
}

// ---- the cursor ----

int TClientDataSet::CurrentRow() const {
  return position_ < 0 ? -1 : order_[static_cast<std::size_t>(position_)];
}

void TClientDataSet::MoveToRow(int row) {
  const auto it = std::find(order_.begin(), order_.end(), row);
  if (it != order_.end()) SetCursor(static_cast<int>(it - order_.begin()), false, false);
  else SetCursor(order_.empty() ? -1 : 0, true, order_.empty());
  DataEvent(nullptr);
}

void TClientDataSet::SetCursor(int position, bool bof, bool eof) {
  position_ = position;
  bof_ = bof;
  eof_ = eof;
}

void TClientDataSet::First() {
  CheckBrowseMode();
  SetCursor(order_.empty() ? -1 : 0, true, order_.empty());
  DataEvent(nullptr);
}

void TClientDataSet::Last() {
  CheckBrowseMode();
  SetCursor(RecordCount() - 1, order_.empty(), true);
  DataEvent(nullptr);
}

void TClientDataSet::Next() {
  CheckBrowseMode();
  if (position_ + 1 >= RecordCount()) {
    eof_ = true;
    return;
  }
  SetCursor(position_ + 1, false, false);
  DataEvent(nullptr);
}

void TClientDataSet::Prior() {
  CheckBrowseMode();
  if (position_ <= 0) {
    bof_ = true;
    return;
  }
  SetCursor(position_ - 1, false, false);
  DataEvent(nullptr);
}

void TClientDataSet::AppendRecord(const std::vector<Variant>& values) {
  CheckBrowseMode();
  Row row(static_cast<std::size_t>(Fields().Count()), Variant::Null());
  for (std::size_t i = 0; i < row.size() && i < values.size(); ++i)
    row[i] = ConvertTo(values[i], Fields()[static_cast<int>(i)]->DataType());
  rows_.push_back(std::move(row));
  Sort();
  MoveToRow(static_cast<int>(rows_.size()) - 1);
}

// ---- searching ----

bool TClientDataSet::Locate(const std::string& fieldNames, const Variant& key, TLocateOptions options) {
  CheckBrowseMode();
  const std::vector<const TField*> fields = ResolveFields(fieldNames);
  std::vector<Variant> values = KeyValues(key);
  if (fields.empty() || values.size() != fields.size())
    throw EDatabaseError(Context() + "The key does not match the fields '" + fieldNames + "'");
  for (std::size_t i = 0; i < fields.size(); ++i) values[i] = ConvertTo(values[i], fields[i]->DataType());
  for (int position = 0; position < RecordCount(); ++position) {
    const Row& row = rows_[static_cast<std::size_t>(order_[static_cast<std::size_t>(position)])];
    bool match = true;
    for (std::size_t i = 0; match && i < fields.size(); ++i)
      match = MatchesKey(row[static_cast<std::size_t>(fields[i]->Index())], values[i], options);
    if (!match) continue;
    SetCursor(position, false, false);
    DataEvent(nullptr);
    return true;
  }
  return false;
}

bool TClientDataSet::FindKey(const Variant& key) {
  const IndexDef* index = indexName_.empty() ? nullptr : FindIndex(indexName_);
  if (!index) throw EDatabaseError(Context() + "No index currently active");
  std::vector<std::string> names = SplitFieldNames(index->fieldNames);
  const std::size_t count = KeyValues(key).size();
  if (count > names.size()) throw EDatabaseError(Context() + "The key has more values than the index fields");
  std::string leading;
  for (std::size_t i = 0; i < count; ++i) leading += (i ? ";" : "") + names[i];
  return Locate(leading, key);
}

// ---- editing ----

void TClientDataSet::Edit() {
  CheckActive();
  if (editing_) return;
  if (position_ < 0) throw EDatabaseError(Context() + "Cannot edit: no current record");
  editBuffer_ = rows_[static_cast<std::size_t>(CurrentRow())];
  editing_ = true;
}

void TClientDataSet::Post() {
  CheckActive();
  if (!editing_) return;
  const int row = CurrentRow();
  rows_[static_cast<std::size_t>(row)] = std::move(editBuffer_);
  editBuffer_.clear();
  editing_ = false;
  Sort();
  MoveToRow(row);
}

void TClientDataSet::Cancel() {
  if (!editing_) return;
  editBuffer_.clear();
  editing_ = false;
  DataEvent(nullptr);
}

void TClientDataSet::CheckBrowseMode() {
  CheckActive();
  Post();
}

Variant TClientDataSet::GetFieldValue(const TField& field) const {
  if (position_ < 0) return Variant::Null();
  const Row& row = editing_ ? editBuffer_ : rows_[static_cast<std::size_t>(CurrentRow())];
  const auto column = static_cast<std::size_t>(field.Index());
  return column < row.size() ? row[column] : Variant::Null();
}

void TClientDataSet::SetFieldValue(const TField& field, const Variant& value) {
  if (!editing_) throw EDatabaseError(Context() + "Dataset not in edit mode");
  const auto column = static_cast<std::size_t>(field.Index());
  if (column >= editBuffer_.size()) editBuffer_.resize(column + 1, Variant::Null());
  editBuffer_[column] = value;
}

}  // namespace qv
