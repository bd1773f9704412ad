#pragma once
// The root classes: TObject knows its class information; TPersistent adds
// assignment between objects of compatible classes.

#include <string>
#include <string_view>

#include "platform/core/ClassInfo.h"

// Declares the class information of a class; the definition of StaticClass()
// lists the class's published properties and methods (see ClassInfo.h).
#define QV_OBJECT(Self, Parent)                                                 \
 public:                                                                        \
  using inherited = Parent;                                                     \
  static const ::qv::TClass& StaticClass();                                     \
  const ::qv::TClass& ClassType() const override { return Self::StaticClass(); }

namespace qv {

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TClass& StaticClass();
  virtual const TClass& ClassType() const { return StaticClass(); }

  const std::string& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(std::string_view className) const { return ClassType().InheritsFrom(className); }
  bool InheritsFrom(const TClass& cls) const { return ClassType().InheritsFrom(cls); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
  const MethodCode* MethodAddress(std::string_view name) const { return ClassType().MethodAddress(name); }

  // Runs just before the object is deleted, while it is still whole (forms
  // raise OnDestroy here). Free and the owners of components call it.
  virtual void BeforeDestruction() {}
  // Asked by Free whether the object may end now. An object whose own code
  // is on the stack answers false and ends itself once that code returns;
  // one that is already ending answers false, so a second Free does nothing.
  virtual bool AcceptFree() { return true; }
  static void Free(TObject* object) {
    if (!object || !object->AcceptFree()) return;
    object->BeforeDestruction();
    delete object;
  }
};

class TPersistent : public TObject {
  QV_OBJECT(TPersistent, TObject)

  // Copies the state of another object; raises EConvertError when the
  // classes do not fit, as the platform does.
  virtual void Assign(const TPersistent& source);

 protected:
  // Lets a destination class accept a source it knows.
  virtual void AssignTo(TPersistent& destination) const;
};

// A cast that checks the class information: nullptr when object is not a T.
template <class T>
T* ObjectAs(TObject* object) {
  return object && object->Is<T>() ? static_cast<T*>(object) : nullptr;
}

}  // namespace qv
