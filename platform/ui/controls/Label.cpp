#include "platform/ui/controls/Label.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

std::vector<std::string> SplitAtLineBreaks(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find_first_of("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

// Lines a text takes when wrapped to a width: a character that does not fit
// starts a new line (the headless metrics break between any characters).
int WrappedLineCount(const TFont& font, const std::string& line, int width) {
  int count = 1, used = 0;
  for (std::size_t i = 0; i < line.size();) {
    std::size_t next = i + 1;
    while (next < line.size() && (static_cast<unsigned char>(line[next]) & 0xC0) == 0x80) ++next;
    const int w = TextWidthOf(font, std::string_view(line).substr(i, next - i));
    if (used > 0 && used + w > width) {
      ++count;
      used = 0;
    }
    used += w;
    i = next;
  }
  return count;
}

}  // namespace

const TEnumType& TextLayoutType() {
  static const TEnumType type("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  return type;
}

const TClass& TCustomLabel::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomLabel>("TCustomLabel", &TGraphicControl::StaticClass());
  return cls;
}

const TClass& TLabel::StaticClass() {
  static const TClass cls =
      ClassBuilder<TLabel>("TLabel", &TCustomLabel::StaticClass())
          .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
          .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
          .Enumeration("Alignment", AlignmentType(), &TLabel::Alignment, &TLabel::SetAlignment)
          .Enumeration("Layout", TextLayoutType(), &TLabel::Layout, &TLabel::SetLayout)
          .Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
          .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
          .Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
          .Object("FocusControl", TWinControl::StaticClass(), &TLabel::FocusControl, &TLabel::SetFocusControl);
  return cls;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

std::string TCustomLabel::DisplayCaption() const {
  const std::string caption = Caption();
  if (!showAccelChar_) return caption;
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&x" shows x, "&&" shows "&"
    shown += caption[i];
  }
  return shown;
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || HasState(ComponentStateFlag::Loading)) return;
  std::string text = DisplayCaption();
  if (text.empty()) text.push_back(' ');  // an empty label keeps the size of one blank
  const std::vector<std::string> lines = SplitAtLineBreaks(text);
  int width = 0, lineCount = 0;
  for (const std::string& line : lines) {
    width = std::max(width, TextWidthOf(Font(), line));
    lineCount += wordWrap_ ? WrappedLineCount(Font(), line, Width()) : 1;
  }
  if (wordWrap_) width = Width();
  // A right-justified label grows to the left: its right edge stays.
  const int left = alignment_ == taRightJustify ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, lineCount * TextHeightOf(Font()));
}

void TCustomLabel::ContentChanged() {
  Changed(ControlChange::Content);
  AdjustBounds();
}

void TCustomLabel::TextChanged() { AdjustBounds(); }

void TCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(ControlChange::Content);
}

void TCustomLabel::SetLayout(TTextLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Changed(ControlChange::Content);
}

void TCustomLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed(ControlChange::Content);
}

void TCustomLabel::SetWordWrap(bool wordWrap) {
  if (wordWrap == wordWrap_) return;
  wordWrap_ = wordWrap;
  ContentChanged();
}

void TCustomLabel::SetShowAccelChar(bool show) {
  if (show == showAccelChar_) return;
  showAccelChar_ = show;
  ContentChanged();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
  if (control == focusControl_) return;
  if (focusControl_) RemoveFreeNotification(focusControl_);
  focusControl_ = control;
  if (focusControl_) FreeNotification(focusControl_);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

}  // namespace qv
