#pragma once
// String lists: the items of combo boxes and radio groups, the lines of
// memos, word lists of condition controls. Each item may carry an object
// pointer. Changes raise OnChange once per change (or once at EndUpdate).

#include <string>
#include <vector>

#include "platform/core/Object.h"

namespace qv {

class TStrings : public TPersistent {
  QV_OBJECT(TStrings, TPersistent)

  TStrings() = default;
  TStrings(std::initializer_list<std::string> items);

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ERangeError for an index outside 0 … Count − 1.
  const std::string& operator[](int index) const;
  const std::string& Strings(int index) const { return (*this)[index]; }
  void SetStrings(int index, const std::string& text);
  TObject* Objects(int index) const;
  void SetObjects(int index, TObject* object);

  virtual int Add(const std::string& text, TObject* object = nullptr);
  void Insert(int index, const std::string& text, TObject* object = nullptr);
  void Delete(int index);
  void Clear();
  void Move(int from, int to);
  void Exchange(int a, int b);
  // -1 when absent; compared without regard to case in the user's locale.
  int IndexOf(const std::string& text) const;
  int IndexOfObject(const TObject* object) const;

  // The items joined with line breaks (each followed by "\r\n"); setting it
  // splits at "\r\n", "\n" or "\r".
  std::string Text() const;
  void SetText(const std::string& text);
  // "name=value" items; names compare without regard to ASCII case.
  std::string Names(int index) const;
  std::string Values(const std::string& name) const;
  std::vector<std::string> ToVector() const;

  void BeginUpdate();
  void EndUpdate();

  void Assign(const TPersistent& source) override;
  friend bool operator==(const TStrings& a, const TStrings& b) { return a.items_ == b.items_; }

  TNotifyEvent OnChange;

 protected:
  struct Item {
    std::string Text;
    TObject* Object = nullptr;
    friend bool operator==(const Item& a, const Item& b) { return a.Text == b.Text; }
  };
  void Changed();
  std::vector<Item> items_;

 private:
  void CheckIndex(int index) const;
  int updating_ = 0;
  bool changedWhileUpdating_ = false;
};

// A string list that can keep itself sorted (in the user's locale, without
// regard to case).
class TStringList : public TStrings {
  QV_OBJECT(TStringList, TStrings)
  using TStrings::TStrings;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  int Add(const std::string& text, TObject* object = nullptr) override;
  void Sort();

 private:
  bool sorted_ = false;
};

}  // namespace qv
