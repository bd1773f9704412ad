#include "platform/ui/controls/Memo.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

struct LineSpan {
  int Start;   // caret index of the line's first character
  int Length;  // characters, without the line break
};

// The lines of a text as a caret sees them: "\r\n", "\n" and "\r" end a
// line, and a text ending in a break has an empty last line.
std::vector<LineSpan> SplitLines(const std::string& text) {
  std::vector<LineSpan> lines;
  int index = 0, start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back({start, index - start});
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
        ++index;
      }
      start = index + 1;
    }
    ++index;
  }
  lines.push_back({start, index - start});
  return lines;
}

}  // namespace

const TEnumType& ScrollStyleType() {
  static const TEnumType type("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
  return type;
}

const TClass& TCustomMemo::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClass());
  return cls;
}

const TClass& TMemo::StaticClass() {
  static const TClass cls =
      PublishEditProperties(ClassBuilder<TMemo>("TMemo", &TCustomMemo::StaticClass()))
          .Object("Lines", TStrings::StaticClass(), [](const TMemo& m) { return &m.Lines(); }, &TMemo::SetLines)
          .Boolean("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns)
          .Boolean("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs)
          .Enumeration("ScrollBars", ScrollStyleType(), &TMemo::ScrollBars, &TMemo::SetScrollBars)
          .Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap);
  return cls;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TStringList>()) {
  lines_->OnChange = MethodOf<&TCustomMemo::LinesChanged>(this);
  SetAutoSelect(false);
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() { lines_->OnChange.Clear(); }

void TCustomMemo::SetLines(TStrings* lines) {
  if (lines) lines_->Assign(*lines);
}

void TCustomMemo::LinesChanged(TObject*) {
  if (!syncingLines_) SetBuffer(lines_->Text());
}

// Lines follow the text before OnChange runs, so a handler sees both alike.
void TCustomMemo::TextChanged() {
  if (lines_->Text() != Buffer()) {
    syncingLines_ = true;
    lines_->SetText(Buffer());
    syncingLines_ = false;
  }
  TCustomEdit::TextChanged();
}

void TCustomMemo::SetScrollBars(TScrollStyle scrollBars) {
  if (scrollBars == scrollBars_) return;
  scrollBars_ = scrollBars;
  Changed(ControlChange::Content);
}

void TCustomMemo::SetWordWrap(bool wordWrap) {
  if (wordWrap == wordWrap_) return;
  wordWrap_ = wordWrap;
  Changed(ControlChange::Content);
}

// ---- caret lines ----

int TCustomMemo::LineCount() const { return static_cast<int>(SplitLines(Buffer()).size()); }

int TCustomMemo::LineStart(int line) const { return SplitLines(Buffer()).at(static_cast<std::size_t>(line)).Start; }

int TCustomMemo::LineLength(int line) const { return SplitLines(Buffer()).at(static_cast<std::size_t>(line)).Length; }

TPoint TCustomMemo::CaretPos() const {
  const std::vector<LineSpan> lines = SplitLines(Buffer());
  int line = 0;
  while (line + 1 < static_cast<int>(lines.size()) && lines[static_cast<std::size_t>(line + 1)].Start <= Caret())
    ++line;
  return {Caret() - lines[static_cast<std::size_t>(line)].Start, line};
}

void TCustomMemo::SetCaretPos(TPoint position) {
  const int line = std::clamp(position.Y, 0, LineCount() - 1);
  SetSelStart(LineStart(line) + std::clamp(position.X, 0, LineLength(line)));
}

// ---- typing ----

void TCustomMemo::TypeCharacter(const std::string& character) {
  if (character == "\r") {
    if (wantReturns_) InsertTyped("\r\n");
  } else if (character == "\t") {
    if (wantTabs_) InsertTyped("\t");
  } else {
    TCustomEdit::TypeCharacter(character);
  }
}

// Up and down keep the column where the line allows; Home and End go to the
// ends of the caret's line; Tab is text when the memo wants tabs.
void TCustomMemo::EditKeyDown(Word& key, TShiftState shift) {
  const bool extend = (shift & ssShift) != 0;
  const TPoint caret = CaretPos();
  const auto moveTo = [&](int line, int column) {
    MoveCaret(LineStart(line) + std::clamp(column, 0, LineLength(line)), extend);
  };
  switch (key) {
    case VK_UP:
      if (caret.Y > 0) moveTo(caret.Y - 1, caret.X);
      break;
    case VK_DOWN:
      if (caret.Y + 1 < LineCount()) moveTo(caret.Y + 1, caret.X);
      break;
    case VK_HOME: moveTo(caret.Y, 0); break;
    case VK_END: moveTo(caret.Y, LineLength(caret.Y)); break;
    case VK_TAB:
      if (wantTabs_ && !(shift & (ssCtrl | ssAlt))) {
        InsertTyped("\t");
        key = 0;  // the tab stays in the memo instead of moving the focus
      }
      break;
    default: TCustomEdit::EditKeyDown(key, shift); break;
  }
}

}  // namespace qv
