#pragma once
// TDBEdit: an edit that shows one field of the current record of a data
// source's data set. It shows the field's text while the data set is open
// and the field exists, and nothing otherwise; typing edits the text only
// (it is not written back to the field).

#include <memory>
#include <string>

#include "platform/data/DB.h"
#include "platform/ui/controls/Edit.h"

namespace qv {

class TDBEdit : public TCustomEdit {
  QV_OBJECT(TDBEdit, TCustomEdit)

  explicit TDBEdit(TComponent* owner);
  ~TDBEdit() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  const std::string& DataField() const { return dataField_; }
  virtual void SetDataField(const std::string& dataField);
  // The bound field, found by name in the source's data set; nullptr when
  // there is no source, data set or field of that name.
  TField* Field() const;

 protected:
  // Shows the field's text (or nothing) again.
  void DataChanged();

 private:
  class FieldLink;
  std::unique_ptr<FieldLink> link_;
  std::string dataField_;
};

}  // namespace qv
