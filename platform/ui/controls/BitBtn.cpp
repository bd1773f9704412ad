#include "platform/ui/controls/BitBtn.h"

#include <algorithm>

namespace qv {

namespace {

struct KindDefaults {
  const char* Caption;
  TModalResult Result;
  bool IsDefault;
  bool IsCancel;
};

const KindDefaults& DefaultsOf(TBitBtnKind kind) {
  static const KindDefaults table[] = {
      {"", mrNone, false, false},          {"OK", mrOk, true, false},         {"Cancel", mrCancel, false, true},
      {"&Help", mrNone, false, false},     {"&Yes", mrYes, true, false},      {"&No", mrNo, false, true},
      {"&Close", mrNone, false, false},    {"Abort", mrAbort, false, false},   {"&Retry", mrRetry, false, false},
      {"&Ignore", mrIgnore, false, false}, {"&All", mrAll, false, false},
  };
  return table[kind];
}

}  // namespace

const TEnumType& ButtonLayoutType() {
  static const TEnumType type("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  return type;
}

const TEnumType& BitBtnKindType() {
  static const TEnumType type("TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                              "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
  return type;
}

int ClampNumGlyphs(int numGlyphs) { return std::clamp(numGlyphs, 1, 4); }

const TClass& TBitBtn::StaticClass() {
  static const TClass cls =
      ClassBuilder<TBitBtn>("TBitBtn", &TButton::StaticClass())
          .Enumeration("Kind", BitBtnKindType(), &TBitBtn::Kind, &TBitBtn::SetKind)
          .Object("Glyph", TPersistent::StaticClass(), &TBitBtn::Glyph, &TBitBtn::SetGlyph)
          .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
          .Enumeration("Layout", ButtonLayoutType(), &TBitBtn::Layout, &TBitBtn::SetLayout)
          .Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
          .Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);
  return cls;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  if (kind == bkCustom) return;
  const KindDefaults& defaults = DefaultsOf(kind);
  SetCaption(defaults.Caption);
  SetModalResult(defaults.Result);
  SetDefault(defaults.IsDefault);
  SetCancel(defaults.IsCancel);
  Changed(ControlChange::Content);
}

void TBitBtn::SetGlyph(TPersistent* glyph) {
  if (glyph == glyph_) return;
  glyph_ = glyph;
  Changed(ControlChange::Content);
}

void TBitBtn::SetNumGlyphs(int numGlyphs) {
  numGlyphs = ClampNumGlyphs(numGlyphs);
  if (numGlyphs == numGlyphs_) return;
  numGlyphs_ = numGlyphs;
  Changed(ControlChange::Content);
}

void TBitBtn::SetLayout(TButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Changed(ControlChange::Content);
}

void TBitBtn::SetMargin(int margin) {
  margin = std::max(margin, -1);
  if (margin == margin_) return;
  margin_ = margin;
  Changed(ControlChange::Content);
}

void TBitBtn::SetSpacing(int spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  Changed(ControlChange::Content);
}

void TBitBtn::Click() {
  TCustomForm* form = ParentForm();
  if (kind_ == bkClose && form)
    form->Close();
  else
    TButton::Click();
}

}  // namespace qv
