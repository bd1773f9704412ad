#pragma once
// A small data layer: fields, a data set with a cursor over its records, and
// data sources that tell bound controls of changes.
//
// TDataSet keeps its records in memory; a data set that fetches its records
// elsewhere (a client data set bound to a remote provider) overrides the
// cursor, the record count and the field value access. Fields are
// components owned by their data set and publish FieldName and DisplayLabel,
// so code that knows a data set only by its properties finds them.

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Variant.h"

namespace qv {

class TDataSet;
class TDataSource;
class TDataLink;

enum TFieldType { ftUnknown, ftString, ftInteger, ftFloat, ftBoolean, ftDateTime };
const TEnumType& FieldTypeType();

class TField : public TComponent {
  QV_OBJECT(TField, TComponent)

  // Owned by the data set and appended to its fields.
  TField(TDataSet& dataSet, std::string fieldName, TFieldType dataType);
  ~TField() override;

  TDataSet* DataSet() const { return dataSet_; }
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& fieldName) { fieldName_ = fieldName; }
  // The field name until a label is set.
  std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const std::string& displayLabel) { displayLabel_ = displayLabel; }
  TFieldType DataType() const { return dataType_; }
  // The position among the data set's fields.
  int Index() const;

  // The value in the current record. Reading or writing raises
  // EDatabaseError on a closed data set; written values are converted to
  // the field's type (EConvertError or EVariantError when they do not fit).
  Variant AsVariant() const;
  void SetAsVariant(const Variant& value);
  // Null reads as "", 0 and 0.0.
  std::string AsString() const;
  void SetAsString(const std::string& value) { SetAsVariant(Variant(value)); }
  int AsInteger() const;
  void SetAsInteger(int value) { SetAsVariant(Variant(value)); }
  double AsFloat() const;
  void SetAsFloat(double value) { SetAsVariant(Variant(value)); }
  bool IsNull() const;
  void Clear() { SetAsVariant(Variant::Null()); }

 private:
  TDataSet* dataSet_;
  std::string fieldName_;
  std::string displayLabel_;
  TFieldType dataType_;
};

// The fields of a data set, in order; the data set's components own them.
class TFields : public TObject {
  QV_OBJECT(TFields, TObject)

  int Count() const { return static_cast<int>(fields_.size()); }
  // Raises ERangeError for an index outside 0 … Count − 1.
  TField* Fields(int index) const;
  TField* operator[](int index) const { return Fields(index); }
  int IndexOf(const TField* field) const;
  // By name without regard to ASCII case; nullptr when absent.
  TField* FindField(std::string_view fieldName) const;
  // Raises EDatabaseError "Field 'X' not found" when absent.
  TField* FieldByName(std::string_view fieldName) const;

 private:
  friend class TField;
  std::vector<TField*> fields_;
};

class TDataSet : public TComponent {
  QV_OBJECT(TDataSet, TComponent)

  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  TField* FindField(std::string_view fieldName) const { return fields_.FindField(fieldName); }
  TField* FieldByName(std::string_view fieldName) const { return fields_.FieldByName(fieldName); }
  // Appends a field; raises EDatabaseError while open or for a name already taken.
  TField* AddField(const std::string& fieldName, TFieldType dataType);

  bool Active() const { return active_; }
  // While loading the value is kept and the data set opens in Loaded.
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }

  // ---- the cursor; each raises EDatabaseError on a closed data set ----
  virtual void First();
  virtual void Last();
  virtual void Next();
  virtual void Prior();
  // Set by Next on the last record (or on an empty data set), cleared by a move back.
  virtual bool Eof() const { return eof_; }
  virtual bool Bof() const { return bof_; }
  virtual int RecordCount() const;
  // 1 for the first record; 0 when there is none.
  virtual int RecNo() const { return current_ + 1; }
  bool IsEmpty() const { return RecordCount() == 0; }

  // Appends a record (values in field order, missing ones null) and makes it current.
  virtual void AppendRecord(const std::vector<Variant>& values);

 protected:
  friend class TField;

  void Loaded() override;
  virtual void InternalOpen() {}
  virtual void InternalClose() {}
  // The field's value in the current record; null when there is none.
  virtual Variant GetFieldValue(const TField& field) const;
  // Raises EDatabaseError when there is no current record.
  virtual void SetFieldValue(const TField& field, const Variant& value);
  void CheckActive() const;
  // Tells the data sources: the record moved or the data set opened or
  // closed (field nullptr), or one field of the record changed.
  void DataEvent(TField* field);

 private:
  friend class TDataSource;
  void MoveTo(int record);

  TFields fields_;
  std::vector<TDataSource*> sources_;
  bool active_ = false;
  bool activeWhenLoaded_ = false;
  std::vector<std::vector<Variant>> records_;
  int current_ = -1;
  bool bof_ = true;
  bool eof_ = true;
};

using TDataChangeEvent = Event<void(TObject* Sender, TField* Field)>;

// Connects data-aware controls to a data set; while disabled it passes nothing on.
class TDataSource : public TComponent {
  QV_OBJECT(TDataSource, TComponent)

  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Raised for every change of the data set's data (Field: the one field
  // that changed, nullptr for a moved, opened or closed record).
  TDataChangeEvent OnDataChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TField* field);
  void NotifyLinks(TField* field);

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  std::vector<TDataLink*> links_;
};

// A data-aware control's connection to a data source.
class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return source_; }
  void SetDataSource(TDataSource* source);
  // The source's data set while the source is enabled; nullptr otherwise.
  TDataSet* DataSet() const;
  // That data set is open.
  bool Active() const;

 protected:
  friend class TDataSource;
  // The data changed (see TDataSource::OnDataChange), or the link now
  // shows other data (a new source, a source enabled or gone).
  virtual void DataChanged(TField* field) = 0;

 private:
  TDataSource* source_ = nullptr;
};

}  // namespace qv
