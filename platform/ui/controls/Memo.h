#pragma once
// TMemo: a multi-line edit. Its text holds "\r\n" line breaks; Lines shows
// the same text as a list of lines and is kept in step both ways. CaretPos
// gives the caret's line and column.

#include <memory>
#include <string>

#include "platform/core/Strings.h"
#include "platform/ui/Control.h"
#include "platform/ui/controls/Edit.h"

namespace qv {

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
const TEnumType& ScrollStyleType();

class TCustomMemo : public TCustomEdit {
  QV_OBJECT(TCustomMemo, TCustomEdit)

  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings& Lines() { return *lines_; }
  const TStrings& Lines() const { return *lines_; }
  // Copies the lines; nullptr is ignored.
  void SetLines(TStrings* lines);

  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool wantReturns) { wantReturns_ = wantReturns; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool wantTabs) { wantTabs_ = wantTabs; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle scrollBars);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);

  // X is the column (characters from the line start), Y the line, both from 0.
  TPoint CaretPos() const;
  // Clamps the line to the text and the column to the line.
  void SetCaretPos(TPoint position);


 protected:
  void EditKeyDown(Word& key, TShiftState shift) override;
  void TypeCharacter(const std::string& character) override;
  void TextChanged() override;

 private:
  void LinesChanged(TObject* sender);
  // The caret index of a line's start and the length of that line, in characters.
  int LineStart(int line) const;
  int LineLength(int line) const;
  int LineCount() const;

  std::unique_ptr<TStringList> lines_;
  bool syncingLines_ = false;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
  QV_OBJECT(TMemo, TCustomMemo)
  using TCustomMemo::TCustomMemo;
};

}  // namespace qv
