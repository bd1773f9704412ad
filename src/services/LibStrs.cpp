#include "services/LibStrs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/core/AsciiText.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"
#include "platform/core/NumberText.h"
#include "platform/core/TypInfo.h"
#include "platform/system/CodePages.h"
#include "platform/system/SystemInfo.h"
#include "services/AlertLog.h"

namespace qv {

namespace {

constexpr std::int64_t kFirstYear = 1;
constexpr std::int64_t kLastYear = 9999;
// Date types 4 and 5 count years from 1912: typed year 1 is 1912.
constexpr std::int64_t kTypedYearOffset = 1911;
constexpr char kFieldMark = '\x03';

// ---- small text helpers ----

// Where the separator next occurs from start; an empty separator never does.
std::size_t FindSeparator(const std::string& text, const std::string& separator, std::size_t start) {
  return separator.empty() ? std::string::npos : text.find(separator, start);
}

// The first UTF-8 character of the text, all of its bytes.
std::string FirstCharacter(const std::string& text) {
  if (text.empty()) return "";
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return text.substr(0, length);
}

// A piece of the text that may reach past its end (then shorter or empty).
std::string_view Slice(std::string_view text, std::size_t start, std::size_t length) {
  return start >= text.size() ? std::string_view() : text.substr(start, length);
}

// The trimmed text read as a whole integer, or fallback when it is not one.
std::int64_t ReadInteger(std::string_view text, std::int64_t fallback) {
  std::int64_t value;
  return TryStrToInt64(text, value) ? value : fallback;
}

// printf's "%.<width>d": at least width digits, the sign in front.
std::string Padded(std::int64_t value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*lld", width, static_cast<long long>(value));
  return buffer;
}

// ---- date helpers ----

bool IsYearInRange(std::int64_t year) { return year >= kFirstYear && year <= kLastYear; }

// TryEncodeDate for parts that may not fit an int.
bool TryMakeDate(std::int64_t year, std::int64_t month, std::int64_t day, TDateTime& date) {
  if (!IsYearInRange(year) || month < 1 || month > 12 || day < 1 || day > 31) return false;
  return TryEncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), date);
}

// Whether the date's day lies in the years 1-9999, so it can be decoded.
bool IsDateInRange(TDateTime date) {
  static const TDateTime kFirstDay = EncodeDate(kFirstYear, 1, 1);
  static const TDateTime kLastDay = EncodeDate(kLastYear, 12, 31);
  // The day is the value truncated toward zero, so the open interval fits.
  return std::isfinite(date) && date > kFirstDay - 1 && date < kLastDay + 1;
}

bool IsDateType(int type) { return type >= dt_YYYYMMDD && type <= dt_YYYMMDD; }

// The year as a user of the date type types it.
std::string TypedYear(int type, int year) {
  switch (type) {
    case dt_YYMMDD: return Padded(year - kTypedYearOffset, 2);
    case dt_YYYMMDD: return Padded(year - kTypedYearOffset, 3);
    default: return Padded(year, 4);
  }
}

// The year of the calendar for a year typed in the date type.
std::int64_t CalendarYear(int type, std::int64_t typedYear) {
  const bool countsFrom1912 = type == dt_YYMMDD || type == dt_YYYMMDD;
  // A typed year beyond the last year is invalid anyway; skip the addition
  // so that it cannot overflow.
  return countsFrom1912 && typedYear <= kLastYear ? typedYear + kTypedYearOffset : typedYear;
}

struct TypedDate {
  std::int64_t Year, Month, Day;
};

// Year, month and day from the three fields typed in the date type.
TypedDate InTypeOrder(int type, const std::int64_t (&fields)[3]) {
  switch (type) {
    case dt_MMDDYYYY: return {fields[2], fields[0], fields[1]};
    case dt_DDMMYYYY: return {fields[2], fields[1], fields[0]};
    default: return {CalendarYear(type, fields[0]), fields[1], fields[2]};
  }
}

// Year "yyyy", month "mm" and day "dd" of a compact date read as integers;
// a part that is not a number counts as 0 and fails.
bool TryCompactPartsToDate(std::string_view text, TDateTime& date) {
  return TryMakeDate(ReadInteger(Slice(text, 0, 4), 0), ReadInteger(Slice(text, 4, 2), 0),
                     ReadInteger(Slice(text, 6, 2), 0), date);
}

std::optional<TDateTime> AddMonths(TDateTime date, int n) {
  const DateParts parts = DecodeDate(date);
  const std::int64_t total = std::int64_t{parts.Year} * 12 + parts.Month + n;
  std::int64_t year = total / 12;
  std::int64_t month = total % 12;
  if (month == 0) {
    month = 12;
    --year;
  }
  // Outside the years 1-9999 no day of the month exists: no date.
  if (!IsYearInRange(year)) return std::nullopt;
  const int lastDay = DaysInAMonth(static_cast<int>(year), static_cast<int>(month));
  TDateTime shifted;
  if (!TryMakeDate(year, month, std::min(parts.Day, lastDay), shifted)) return std::nullopt;
  return shifted;
}

std::optional<TDateTime> AddYears(TDateTime date, int n) {
  const DateParts parts = DecodeDate(date);
  const std::int64_t year = std::int64_t{parts.Year} + n;
  if (!IsYearInRange(year)) return std::nullopt;
  TDateTime shifted;
  // 29 February into a year that is not a leap year keeps the input date.
  return TryMakeDate(year, parts.Month, parts.Day, shifted) ? shifted : date;
}

std::optional<TDateTime> ShiftedDate(TDateTime date, const std::string& unit, int n) {
  if (SameTextAscii(unit, "D")) return date + n;
  if (SameTextAscii(unit, "M")) return AddMonths(date, n);
  if (SameTextAscii(unit, "Y")) return AddYears(date, n);
  return std::nullopt;
}

// The date of a compact-date text or of a date value; 0 for anything else.
TDateTime DateOfValue(const Variant& value) {
  if (value.IsText()) return CompactToDate(value.TextRef());
  if (value.Type() == VarType::Date) return value.ToDate();
  return 0;
}

// ---- text replacement ----

// Each occurrence replaced once, continuing after the inserted replacement.
std::string ReplaceEachOnce(const std::string& text, const std::string& search,
                            const std::string& replacement) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(search, start)) != std::string::npos;
       start = at + search.size())
    out.append(text, start, at - start).append(replacement);
  return out.append(text, start);
}

// Replaces the leftmost occurrence until none is left, so occurrences that
// a replacement forms with its neighbours are replaced too. The text before
// the last replacement held no occurrence, so the next one cannot start
// earlier than search.size() - 1 characters before it: searching from there
// is the same as searching from the beginning. Each step shortens the text
// (the caller guarantees a shorter replacement), so the loop ends.
std::string ReplaceRestarting(std::string text, const std::string& search,
                              const std::string& replacement) {
  for (std::size_t at = text.find(search); at != std::string::npos;) {
    text.replace(at, search.size(), replacement);
    at = text.find(search, at >= search.size() - 1 ? at - (search.size() - 1) : 0);
  }
  return text;
}

}  // namespace

// ===========================================================================
// Field lists
// ===========================================================================

std::string GetField(const std::string& text, const std::string& separator, int n) {
  if (n < 1) return "";
  std::size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t end = FindSeparator(text, separator, start);
    if (end == std::string::npos) return "";
    start = end + separator.size();
  }
  const std::size_t end = FindSeparator(text, separator, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int FieldCount(const std::string& text, const std::string& separator) {
  if (text.empty()) return 0;
  int count = 1;
  for (std::size_t at = FindSeparator(text, separator, 0); at != std::string::npos;
       at = FindSeparator(text, separator, at + separator.size()))
    ++count;
  return count;
}

std::string CutField(std::string& text, const std::string& separator) {
  const std::size_t at = FindSeparator(text, separator, 0);
  if (at == std::string::npos) return std::exchange(text, std::string());
  std::string head = text.substr(0, at);
  text.erase(0, at + separator.size());
  return head;
}

// ===========================================================================
// Dates by type
// ===========================================================================

namespace {

// The parts of a date to be shown in a date type. False when there is
// nothing to show: result is then cleared for no date or a date out of
// range, and left as the caller passed it for an unknown type.
bool PartsToShow(int type, TDateTime date, std::string& result, DateParts& parts) {
  if (date == 0 || (IsDateType(type) && !IsDateInRange(date))) {
    result.clear();
    return false;
  }
  if (!IsDateType(type)) return false;
  parts = DecodeDate(date);
  return true;
}

}  // namespace

void FormatDateByType(int type, const std::string& separator, TDateTime date, std::string& result) {
  DateParts parts;
  if (!PartsToShow(type, date, result, parts)) return;
  const std::string mark = FirstCharacter(separator);
  const std::string year = TypedYear(type, parts.Year);
  const std::string month = Padded(parts.Month, 2);
  const std::string day = Padded(parts.Day, 2);
  switch (type) {
    case dt_MMDDYYYY: result = month + mark + day + mark + year; break;
    case dt_DDMMYYYY: result = day + mark + month + mark + year; break;
    default: result = year + mark + month + mark + day; break;
  }
}

void FormatYearMonthByType(int type, const std::string& separator, TDateTime date,
                           std::string& result) {
  DateParts parts;
  if (!PartsToShow(type, date, result, parts)) return;
  const std::string mark = FirstCharacter(separator);
  const std::string year = TypedYear(type, parts.Year);
  const std::string month = Padded(parts.Month, 2);
  const bool monthFirst = type == dt_MMDDYYYY || type == dt_DDMMYYYY;
  result = monthFirst ? month + mark + year : year + mark + month;
}

TDateTime ParseDateByType(const std::string& text, int type, const std::string& separator) {
  if (Trim(text).empty()) return 0;
  std::string rest = text;
  std::int64_t fields[3];
  for (std::int64_t& field : fields) field = ReadInteger(CutField(rest, separator), -1);
  if (!IsDateType(type) || std::any_of(std::begin(fields), std::end(fields),
                                       [](std::int64_t field) { return field <= 0; }))
    return 0;

  const TypedDate typed = InTypeOrder(type, fields);
  // The day is counted from the first of the month, not checked against it.
  TDateTime firstOfMonth;
  if (!TryMakeDate(typed.Year, typed.Month, 1, firstOfMonth)) return 0;
  const TDateTime date = firstOfMonth + static_cast<double>(typed.Day - 1);
  return IsDateInRange(date) ? date : 0;
}

// ===========================================================================
// Compact dates
// ===========================================================================

TDateTime CompactToDate(const std::string& text) {
  TDateTime date;
  return text.size() == 8 && TryCompactPartsToDate(text, date) ? date : 0;
}

bool IsValidCompactDate(const std::string& text) {
  if (text.empty()) return true;
  TDateTime date;
  // Only the first 8 characters make the date; the bounds apply to the
  // whole text.
  return TryCompactPartsToDate(text, date) && text >= "17530101" && text <= "99991231";
}

// ===========================================================================
// Calendar arithmetic
// ===========================================================================

void ShiftDate(const Variant& value, const std::string& unit, int n, std::string& result) {
  result.clear();
  try {
    const TDateTime date = DateOfValue(value);
    if (date == 0 || !IsDateInRange(date)) return;
    const std::optional<TDateTime> shifted = ShiftedDate(date, unit, n);
    if (shifted && IsDateInRange(*shifted)) result = FormatDateTime("yyyymmdd", *shifted);
  } catch (...) {
    result.clear();
  }
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// ===========================================================================
// Values
// ===========================================================================

Variant IfThenValue(bool condition, const Variant& whenTrue, const Variant& whenFalse) {
  return condition ? whenTrue : whenFalse;
}

bool IsEmptyOrNull(const Variant& value) { return value.IsEmpty() || value.IsNull(); }

double TextToFloatDef(const std::string& text, double defaultValue) {
  // The number must be the whole text: the platform's reader would skip
  // blanks around it.
  if (Trim(text).size() != text.size()) return defaultValue;
  double value;
  return TryStrToFloat(text, value, '.') ? value : defaultValue;
}

// ===========================================================================
// Texts
// ===========================================================================

std::string ReplaceAllText(const std::string& text, const std::string& search,
                           const std::string& replacement, bool trim) {
  std::string out = text;
  if (!search.empty() && !SameTextAscii(search, replacement)) {
    // Restarting surely ends only when every replacement shortens the text;
    // one at least as long may grow it forever: one holding search, but
    // also "ab" -> "bbaa" on "aab".
    out = replacement.size() < search.size() ? ReplaceRestarting(out, search, replacement)
                                             : ReplaceEachOnce(out, search, replacement);
  }
  return trim ? std::string(Trim(out)) : out;
}

Variant JoinCounted(const std::string& prefix, const Variant& list) {
  try {
    const int count = list[0].ToInt();
    if (count < 0) return Variant::Unicode("");
    std::string joined = prefix + kFieldMark + IntToStr(count) + kFieldMark;
    for (int index = 1; index <= count; ++index) joined += list[index].ToString() + kFieldMark;
    return Variant::Unicode(std::move(joined));
  } catch (...) {
    // Not an array, no count, or fewer items than counted.
    return Variant::Unicode("");
  }
}

std::string ButtonCaption(const std::string& name) {
  static const std::pair<const char*, const char*> kCaptions[] = {
      {"Yes", "是(&Y)"},      {"No", "否(&N)"},      {"OK", "确定"},
      {"Cancel", "取消"},     {"Abort", "中断(&A)"}, {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"}, {"All", "全部(&A)"},   {"NoToAll", "全否(&o)"},
      {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
  };
  for (const auto& [button, caption] : kCaptions)
    if (name == button) return caption;
  return name;
}

// ===========================================================================
// System
// ===========================================================================

std::string GetTempDirectory() {
  try {
    return GetTempFolder();
  } catch (...) {
    return "";
  }
}

bool IsLoopbackAddress(const std::string& address) { return address == "127.0.0.1"; }

// ===========================================================================
// Code pages.
// ===========================================================================

namespace {

using LeafConversion = Variant (*)(const Variant& leaf, int codePage);

// The UTF-8 of a text leaf as program text: a narrow leaf is read leniently
// (every byte sequence widens), a Unicode leaf must be well formed.
std::string WidenedLeaf(const Variant& leaf) {
  if (leaf.Type() == VarType::String) return DecodeLenient(leaf.TextRef(), ProgramCodePage());
  if (!IsValidUtf8(leaf.TextRef())) throw EConvertError("Unicode text is not well formed");
  return leaf.TextRef();
}

Variant EncodeLeaf(const Variant& leaf, int codePage) {
  std::string utf8 = WidenedLeaf(leaf);
  std::string narrow;
  if (!TryEncodeCodePage(utf8, codePage, narrow)) narrow = std::move(utf8);  // unknown code page
  return Variant(std::move(narrow));
}

Variant DecodeLeaf(const Variant& leaf, int codePage) {
  if (leaf.Type() == VarType::UString) {
    WidenedLeaf(leaf);
    return leaf;  // narrowing to program text and decoding it again gives the same text
  }
  std::string utf8;
  if (!TryDecodeCodePage(leaf.TextRef(), codePage, utf8)) utf8 = DecodeLenient(leaf.TextRef(), ProgramCodePage());
  return Variant::Unicode(std::move(utf8));
}

void ConvertElement(const Variant& source, Variant& target, LeafConversion convert, int codePage, bool descend);

// An empty array of the same bounds as the source.
Variant ArrayShapedLike(const VarArray& source) {
  return source.DimCount() == 1
             ? Variant::Array(source.LowBound(1), source.HighBound(1))
             : Variant::Array2(source.LowBound(1), source.HighBound(1), source.LowBound(2), source.HighBound(2));
}

// Fills target, an array shaped like source, element by element. Built
// afresh rather than copied and overwritten: a request holds thousands of
// texts. When a conversion fails, the elements not converted are copied
// from the source before the failure goes on, so the result holds the work
// done and the rest of the input.
void ConvertArray(const VarArray& source, VarArray& target, LeafConversion convert, int codePage) {
  const std::vector<Variant>& in = source.Elements();
  std::vector<Variant>& out = target.Elements();
  const bool descend = source.DimCount() == 1;
  std::size_t i = 0;
  try {
    for (; i < in.size(); ++i) ConvertElement(in[i], out[i], convert, codePage, descend);
  } catch (...) {
    for (; i < in.size(); ++i)
      if (out[i].IsEmpty()) out[i] = in[i];
    throw;
  }
}

void ConvertElement(const Variant& source, Variant& target, LeafConversion convert, int codePage, bool descend) {
  if (source.IsText()) {
    target = convert(source, codePage);
  } else if (descend && source.IsArray()) {
    target = ArrayShapedLike(source.ArrayRef());
    ConvertArray(source.ArrayRef(), target.ArrayMut(), convert, codePage);
  } else {
    target = source;
  }
}

Variant ConvertTreeLogged(const Variant& value, LeafConversion convert, int codePage, const char* line) {
  Variant result;
  try {
    ConvertElement(value, result, convert, codePage, true);
  } catch (const Exception& error) {
    WriteAlertLog("libstrs", std::string(line) + error.Message(), "D");
  } catch (const std::exception& error) {
    WriteAlertLog("libstrs", std::string(line) + error.what(), "D");
  }
  if (result.IsEmpty()) result = value;  // a single leaf that failed: the copy of the input
  return result;
}

}  // namespace

Variant UnicodeToCodePage(const Variant& value, int codePage) {
  return ConvertTreeLogged(value, EncodeLeaf, codePage, "LINE[2735] ");
}

Variant CodePageToUnicode(const Variant& value, int codePage) {
  return ConvertTreeLogged(value, DecodeLeaf, codePage, "LINE[115] ");
}

// ===========================================================================
// Published properties by name.
// ===========================================================================

namespace {

// The property when the object publishes it with one of the wanted kinds.
const TPropInfo* PropertyOfKind(const TObject* object, const std::string& name, bool (*wanted)(TTypeKind)) {
  const TPropInfo* info = GetPropInfo(object, name);
  return info && wanted(info->Kind) ? info : nullptr;
}

bool IsStringKind(TTypeKind kind) { return kind == TTypeKind::String; }
bool IsMethodKind(TTypeKind kind) { return kind == TTypeKind::Method; }

}  // namespace

bool HasProperty(const TObject* component, const std::string& name) {
  return GetPropInfo(component, name) != nullptr;
}

std::string GetStringProperty(const TObject* component, const std::string& name) {
  try {
    const TPropInfo* info = PropertyOfKind(component, name, IsStringKind);
    return info ? GetStrProp(*component, *info) : "";
  } catch (...) {
    return "";
  }
}

void SetStringProperty(TObject* component, const std::string& name, const std::string& value) {
  try {
    if (const TPropInfo* info = PropertyOfKind(component, name, IsStringKind)) SetStrProp(*component, *info, value);
  } catch (...) {
  }
}

std::int64_t GetOrdinalProperty(const TObject* component, const std::string& name) {
  try {
    const TPropInfo* info = PropertyOfKind(component, name, IsOrdinalKind);
    return info ? GetOrdProp(*component, *info) : 0;
  } catch (...) {
    return 0;
  }
}

void SetOrdinalProperty(TObject* component, const std::string& name, std::int64_t value) {
  try {
    if (const TPropInfo* info = PropertyOfKind(component, name, IsOrdinalKind)) SetOrdProp(*component, *info, value);
  } catch (...) {
  }
}

TMethod GetMethodProperty(const TObject& component, const std::string& name) {
  try {
    const TPropInfo* info = PropertyOfKind(&component, name, IsMethodKind);
    return info ? GetMethodProp(component, *info) : TMethod{};
  } catch (...) {
    return TMethod{};
  }
}

void SetMethodProperty(TObject& component, const std::string& name, const TMethod& handler) {
  try {
    if (const TPropInfo* info = PropertyOfKind(&component, name, IsMethodKind))
      SetMethodProp(component, *info, handler);
  } catch (...) {
  }
}

}  // namespace qv
