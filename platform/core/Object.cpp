#include "platform/core/Object.h"

#include "platform/core/Exception.h"

namespace qv {

const TClass& TObject::StaticClass() {
  static const TClass cls = ClassBuilder<TObject>("TObject", nullptr);
  return cls;
}

const TClass& TPersistent::StaticClass() {
  static const TClass cls = ClassBuilder<TPersistent>("TPersistent", &TObject::StaticClass());
  return cls;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& destination) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + destination.ClassName());
}

}  // namespace qv
