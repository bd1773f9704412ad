#pragma once
// Method pointers: an object and one of its member functions, stored as a
// (code, data) pair that can be compared, saved and restored, as events on
// the desktop platform are. Code identifies the member function and carries
// its signature; data is the object it is called on.
//
//   button->OnClick = MethodOf<&TfrmMain::btnOkClick>(this);
//   button->OnClick(button);   // calls this->btnOkClick(button)

#include <typeinfo>
#include <utility>

#include "platform/core/Exception.h"

namespace qv {

class TObject;

// The signature-erased identity of one member function.
struct MethodCode {
  const std::type_info& Signature;
};

struct TMethod {
  const MethodCode* Code = nullptr;
  TObject* Data = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

namespace detail {

template <class Sig>
struct MethodThunk;

template <class R, class... A>
struct MethodThunk<R(A...)> : MethodCode {
  R (*Call)(TObject* self, A... args);
};

template <auto Member, class C, class R, class... A>
R CallMember(TObject* self, A... args) {
  return (static_cast<C*>(self)->*Member)(std::forward<A>(args)...);
}

template <auto Member, class C, class R, class... A>
const MethodCode* CodeFor(R (C::*)(A...)) {
  static const MethodThunk<R(A...)> thunk{{typeid(R(A...))}, &CallMember<Member, C, R, A...>};
  return &thunk;
}

template <class C>
struct MemberClass;
template <class C, class R, class... A>
struct MemberClass<R (C::*)(A...)> {
  using Type = C;
};

}  // namespace detail

// The code part of a method pointer for a member function. The class is a
// parameter of its own so that for a class in an unnamed namespace this is a
// function of that file: named by the member pointer alone, same-named members
// of such classes in two files would share one definition (and one code).
template <auto Member, class C = typename detail::MemberClass<decltype(Member)>::Type>
const MethodCode* MethodCodeOf() {
  return detail::CodeFor<Member>(Member);
}

// A method pointer binding a member function to an object.
template <auto Member>
TMethod MethodOf(typename detail::MemberClass<decltype(Member)>::Type* object) {
  return TMethod{MethodCodeOf<Member>(), object};
}

// An event property: a method pointer of a fixed signature. Calling an
// unassigned event does nothing and yields a default result.
template <class Sig>
class Event;

template <class R, class... A>
class Event<R(A...)> {
 public:
  Event() = default;
  Event(const TMethod& method) { Assign(method); }
  Event& operator=(const TMethod& method) {
    Assign(method);
    return *this;
  }

  static bool Accepts(const TMethod& method) {
    return !method.Code || method.Code->Signature == typeid(R(A...));
  }
  // Raises EPropertyError when the method has another signature.
  void Assign(const TMethod& method) {
    if (!Accepts(method)) throw EPropertyError("Method of another signature assigned to an event");
    method_ = method;
  }
  void Clear() { method_ = TMethod{}; }

  bool Assigned() const { return method_.Code != nullptr; }
  explicit operator bool() const { return Assigned(); }
  const TMethod& Method() const { return method_; }

  R operator()(A... args) const {
    if (!method_.Code) return R();
    const auto* thunk = static_cast<const detail::MethodThunk<R(A...)>*>(method_.Code);
    return thunk->Call(method_.Data, std::forward<A>(args)...);
  }

  friend bool operator==(const Event& a, const Event& b) { return a.method_ == b.method_; }

 private:
  TMethod method_;
};

using TNotifyEvent = Event<void(TObject* Sender)>;

}  // namespace qv
