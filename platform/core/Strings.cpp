#include "platform/core/Strings.h"

#include <algorithm>

#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"
#include "platform/core/LocaleText.h"

namespace qv {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) { return LocaleCompareText(a, b) < 0; }

}  // namespace

const TClass& TStrings::StaticClass() {
  static const TClass cls = ClassBuilder<TStrings>("TStrings", &TPersistent::StaticClass())
                                .String("Text", &TStrings::Text, &TStrings::SetText);
  return cls;
}

const TClass& TStringList::StaticClass() {
  static const TClass cls = ClassBuilder<TStringList>("TStringList", &TStrings::StaticClass())
                                .Boolean("Sorted", &TStringList::Sorted, &TStringList::SetSorted);
  return cls;
}

TStrings::TStrings(std::initializer_list<std::string> items) {
  for (const std::string& item : items) items_.push_back({item, nullptr});
}

void TStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TStrings::operator[](int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].Text;
}

void TStrings::SetStrings(int index, const std::string& text) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].Text = text;
  Changed();
}

TObject* TStrings::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].Object;
}

void TStrings::SetObjects(int index, TObject* object) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].Object = object;
}

int TStrings::Add(const std::string& text, TObject* object) {
  items_.push_back({text, object});
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int index, const std::string& text, TObject* object) {
  if (index < 0 || index > Count()) throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
  items_.insert(items_.begin() + index, {text, object});
  Changed();
}

void TStrings::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TStrings::Move(int from, int to) {
  CheckIndex(from);
  CheckIndex(to);
  const Item item = items_[static_cast<std::size_t>(from)];
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, item);
  Changed();
}

void TStrings::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
  Changed();
}

int TStrings::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i)
    if (LocaleSameText(items_[static_cast<std::size_t>(i)].Text, text)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].Object == object) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string text;
  for (const Item& item : items_) text += item.Text + "\r\n";
  return text;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  items_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    items_.push_back({text.substr(start, end - start), nullptr});
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  Changed();
  EndUpdate();
}

std::string TStrings::Names(int index) const {
  const std::string& item = (*this)[index];
  const std::size_t equals = item.find('=');
  return equals == std::string::npos ? "" : item.substr(0, equals);
}

std::string TStrings::Values(const std::string& name) const {
  for (const Item& item : items_) {
    const std::size_t equals = item.Text.find('=');
    if (equals != std::string::npos && SameTextAscii(item.Text.substr(0, equals), name))
      return item.Text.substr(equals + 1);
  }
  return "";
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> texts;
  for (const Item& item : items_) texts.push_back(item.Text);
  return texts;
}

void TStrings::BeginUpdate() { ++updating_; }

void TStrings::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    OnChange(this);
  }
}

void TStrings::Changed() {
  if (updating_ > 0)
    changedWhileUpdating_ = true;
  else
    OnChange(this);
}

void TStrings::Assign(const TPersistent& source) {
  const auto* strings = dynamic_cast<const TStrings*>(&source);
  if (!strings) return TPersistent::Assign(source);
  if (strings == this) return;
  items_ = strings->items_;
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted_) Sort();
}

int TStringList::Add(const std::string& text, TObject* object) {
  if (!sorted_) return TStrings::Add(text, object);
  const auto at = std::upper_bound(items_.begin(), items_.end(), text,
                                   [](const std::string& t, const Item& item) { return LessNoCase(t, item.Text); });
  const int index = static_cast<int>(at - items_.begin());
  Insert(index, text, object);
  return index;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) { return LessNoCase(a.Text, b.Text); });
  Changed();
}

}  // namespace qv
