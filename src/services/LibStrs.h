#pragma once
// Stateless helpers that every form of the system uses: separator-delimited
// field lists, the date types in which users type and read dates, compact
// "yyyymmdd" dates, calendar arithmetic, small value and text helpers, the
// captions of message-box buttons and a few facts about the machine.
//
// None of these functions raises to its caller: input that does not make
// sense gives the empty text, 0 or false, as stated for each.

#include <string>

#include "platform/core/DateTime.h"
#include "platform/core/Object.h"
#include "platform/core/Variant.h"

namespace qv {

// ---------------------------------------------------------------------------
// Field lists: fields separated by a separator text, numbered from 1; the
// last field runs to the end of the text and the empty text has no fields.
// Fields are never trimmed. An empty separator never occurs in a text.
// ---------------------------------------------------------------------------

// The n-th field; "" when the text has fewer than n fields or n is below 1.
std::string GetField(const std::string& text, const std::string& separator, int n);

// 0 for the empty text, otherwise the number of separator occurrences plus 1.
int FieldCount(const std::string& text, const std::string& separator);

// Returns the part before the first separator and leaves what follows it in
// text; without a separator returns the whole text and empties it.
std::string CutField(std::string& text, const std::string& separator);

// ---------------------------------------------------------------------------
// Dates by type: the order and form in which users type and read dates (the
// system parameter "Sys001"). Types 4 and 5 count years from 1912 (year 1).
// ---------------------------------------------------------------------------

enum TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };

// Writes the date in the form of the type, the first character of separator
// between the parts (none when it is empty). A date of 0, or one outside the
// years 1-9999, gives ""; a type outside 1-5 leaves result as passed.
void FormatDateByType(int type, const std::string& separator, TDateTime date, std::string& result);

// The same for a year and month only.
void FormatYearMonthByType(int type, const std::string& separator, TDateTime date,
                           std::string& result);

// Reads a date typed in the type: three separated positive integers. The day
// is added to the first of the month without checking the month's length
// (2024/02/30 is 1 March 2024). 0 when the text does not make a date.
TDateTime ParseDateByType(const std::string& text, int type, const std::string& separator);

// ---------------------------------------------------------------------------
// Compact dates "yyyymmdd".
// ---------------------------------------------------------------------------

// 0 unless the text has exactly 8 characters forming a real date.
TDateTime CompactToDate(const std::string& text);

// True for the empty text; otherwise the first 8 characters must form a real
// date and the whole text must lie, as text, within "17530101"-"99991231".
bool IsValidCompactDate(const std::string& text);

// ---------------------------------------------------------------------------
// Calendar arithmetic.
// ---------------------------------------------------------------------------

// Shifts a date (a compact-date text or a date value) by n units "D", "M" or
// "Y" (any case) and writes it as "yyyymmdd". "M" keeps the day, lowered to
// the month's last day; "Y" returns the input date when the day does not
// exist in the new year. result is "" for any other value, unit, a date of 0
// or a shifted year outside 1-9999.
void ShiftDate(const Variant& value, const std::string& unit, int n, std::string& result);

// 28 to 31 by the Gregorian rule; 0 for a month outside 1-12.
int DaysInMonth(int year, int month);

// ---------------------------------------------------------------------------
// Values.
// ---------------------------------------------------------------------------

Variant IfThenValue(bool condition, const Variant& whenTrue, const Variant& whenFalse);

// True for a value never assigned or null.
bool IsEmptyOrNull(const Variant& value);

// The number in the text with "." as decimal point whatever the locale;
// defaultValue unless the whole text, blanks included, is such a number.
double TextToFloatDef(const std::string& text, double defaultValue);

// ---------------------------------------------------------------------------
// Texts.
// ---------------------------------------------------------------------------

// Replaces every occurrence of search (with regard to case), unless search
// and replacement are equal without regard to case. A replacement shorter
// than search restarts the search at the beginning after each replacement,
// so occurrences that a replacement forms are replaced too ("aabb" without
// "ab" is ""); any other replacement replaces each occurrence once, left to
// right, because restarting need not end then. trim then removes leading and
// trailing blanks and control characters.
std::string ReplaceAllText(const std::string& text, const std::string& search,
                           const std::string& replacement, bool trim);

// prefix 0x03 n 0x03 item1 0x03 ... itemn 0x03 as Unicode text, from an array
// whose element 0 holds the count n and elements 1..n the items. An empty
// Unicode text when the list is not such an array.
Variant JoinCounted(const std::string& prefix, const Variant& list);

// The caption of a message-box button ("Yes", "No", "OK" ...); any other
// name, or a known name in other case, is returned unchanged.
std::string ButtonCaption(const std::string& name);

// ---------------------------------------------------------------------------
// System.
// ---------------------------------------------------------------------------

// The folder for temporary files, canonical, with a trailing "/"; "" when
// the system cannot give one.
std::string GetTempDirectory();

// True exactly for the text "127.0.0.1"; no other form of the local address.
bool IsLoopbackAddress(const std::string& address);

// ---------------------------------------------------------------------------
// Code pages.
// ---------------------------------------------------------------------------

// Copies a value tree, encoding every text leaf into narrow text of the code
// page. Narrow leaves are first read as program text. One-dimensional arrays
// are descended into at any depth; elements of two-dimensional arrays are
// converted only when they are texts. A failure is written to the "libstrs"
// alert log and what was converted so far is returned.
Variant UnicodeToCodePage(const Variant& value, int codePage);

// The inverse: every text leaf decoded from narrow text of the code page into
// Unicode text; text the code page cannot decode is read as program text.
Variant CodePageToUnicode(const Variant& value, int codePage);

// ---------------------------------------------------------------------------
// Published properties by name. A missing component, an empty name or a name
// the component's class does not publish (or publishes with another kind)
// gives "", 0, nothing or an empty handler; none of these raises.
// ---------------------------------------------------------------------------

bool HasProperty(const TObject* component, const std::string& name);
std::string GetStringProperty(const TObject* component, const std::string& name);
void SetStringProperty(TObject* component, const std::string& name, const std::string& value);
// Integer, enumeration (Boolean included), character and set properties.
std::int64_t GetOrdinalProperty(const TObject* component, const std::string& name);
void SetOrdinalProperty(TObject* component, const std::string& name, std::int64_t value);
// The event handler, code and object; both absent when none is assigned.
TMethod GetMethodProperty(const TObject& component, const std::string& name);
// A handler of another signature than the event's is not assigned.
void SetMethodProperty(TObject& component, const std::string& name, const TMethod& handler);

}  // namespace qv
