#pragma once
// A variable set for the life of a scope: it gets its earlier value back on
// every way out of the scope, an exception included, so that a flag raised
// around a call into an event handler cannot stay raised for good.

#include <utility>

namespace qv {

template <class T>
class ScopedValue {
 public:
  ScopedValue(T& variable, T value) : variable_(variable), earlier_(std::exchange(variable, std::move(value))) {}
  ~ScopedValue() { variable_ = std::move(earlier_); }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& variable_;
  T earlier_;
};

}  // namespace qv
