#include "platform/ui/controls/DBEdit.h"

namespace qv {

class TDBEdit::FieldLink : public TDataLink {
 public:
  explicit FieldLink(TDBEdit& edit) : edit_(edit) {}

 protected:
  void DataChanged(TField* field) override {
    if (!field || field == edit_.Field()) edit_.DataChanged();
  }

 private:
  TDBEdit& edit_;
};

const TClass& TDBEdit::StaticClass() {
  static const TClass cls =
      PublishEditProperties(ClassBuilder<TDBEdit>("TDBEdit", &TCustomEdit::StaticClass()))
          .Object("DataSource", TDataSource::StaticClass(), &TDBEdit::DataSource, &TDBEdit::SetDataSource)
          .String("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField)
          .Char("PasswordChar", &TDBEdit::PasswordChar, &TDBEdit::SetPasswordChar)
          .Enumeration("CharCase", EditCharCaseType(), &TDBEdit::CharCase, &TDBEdit::SetCharCase)
          .Boolean("AutoSelect", &TDBEdit::AutoSelect, &TDBEdit::SetAutoSelect);
  return cls;
}

TDBEdit::TDBEdit(TComponent* owner) : TCustomEdit(owner), link_(std::make_unique<FieldLink>(*this)) {}

TDBEdit::~TDBEdit() = default;

TDataSource* TDBEdit::DataSource() const { return link_->DataSource(); }

void TDBEdit::SetDataSource(TDataSource* source) { link_->SetDataSource(source); }

void TDBEdit::SetDataField(const std::string& dataField) {
  if (dataField == dataField_) return;
  dataField_ = dataField;
  DataChanged();
}

TField* TDBEdit::Field() const {
  const TDataSet* dataSet = link_->DataSet();
  return dataSet && !dataField_.empty() ? dataSet->FindField(dataField_) : nullptr;
}

void TDBEdit::DataChanged() {
  TField* field = Field();
  SetText(field && field->DataSet()->Active() ? field->AsString() : std::string());
}

}  // namespace qv
