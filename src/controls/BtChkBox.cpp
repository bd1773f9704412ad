#include "controls/BtChkBox.h"

#include <algorithm>
#include <cctype>

namespace qv {

namespace {

constexpr int kGlyphWidth = 19, kGlyphHeight = 14;
constexpr TColor kGlyphBackground = clOlive;  // the bottom-left pixel: transparent

// The check mark, 7 × 7, set one pixel inside the box's face.
constexpr const char* kCheckMark[] = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};

void FillPixels(TBitmap& bitmap, const TRect& rect, TColor color) {
  bitmap.Canvas().Brush().SetColor(color);
  bitmap.Canvas().Brush().SetStyle(bsSolid);
  bitmap.Canvas().FillRect(rect);
}

// A sunken 13 × 13 box at x 3, with an optional check mark.
std::unique_ptr<TBitmap> DrawCheckGlyph(TColor face, TColor mark, bool marked) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(kGlyphWidth, kGlyphHeight);
  FillPixels(*bitmap, {0, 0, kGlyphWidth, kGlyphHeight}, kGlyphBackground);
  const int l = 3, t = 0, r = l + 13, b = t + 13;
  FillPixels(*bitmap, {l, t, r, b}, clWhite);                   // outer light edge (bottom, right)
  FillPixels(*bitmap, {l, t, r - 1, b - 1}, clGray);            // outer dark edge (top, left)
  FillPixels(*bitmap, {l + 1, t + 1, r - 1, b - 1}, clSilver);  // inner light edge
  FillPixels(*bitmap, {l + 1, t + 1, r - 2, b - 2}, clBlack);   // inner dark edge
  FillPixels(*bitmap, {l + 2, t + 2, r - 2, b - 2}, face);
  if (marked)
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 7; ++x)
        if (kCheckMark[y][x] == 'X') bitmap->Canvas().SetPixels(l + 3 + x, t + 3 + y, mark);
  bitmap->SetTransparent(true);
  return bitmap;
}

// "&x" marks the accelerator x; "&&" is a literal "&".
std::string WithoutAccelerator(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

char AcceleratorOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return '\0';
}

TRect Intersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

}  // namespace

const TBitmap& DefaultCheckGlyph(TCheckBoxState state) {
  static const std::unique_ptr<TBitmap> unchecked = DrawCheckGlyph(clWhite, clBlack, false);
  static const std::unique_ptr<TBitmap> checked = DrawCheckGlyph(clWhite, clBlack, true);
  static const std::unique_ptr<TBitmap> grayed = DrawCheckGlyph(clSilver, clGray, true);
  return state == cbChecked ? *checked : state == cbGrayed ? *grayed : *unchecked;
}

const TClass& TBitCheckBox::StaticClass() {
  static const TClass cls =
      ClassBuilder<TBitCheckBox>("TBitCheckBox", &TCustomControl::StaticClass())
          .String("Caption", &TBitCheckBox::Caption, &TBitCheckBox::SetCaption)
          .Enumeration("State", CheckBoxStateType(), &TBitCheckBox::State, &TBitCheckBox::SetState)
          .Boolean("Checked", &TBitCheckBox::Checked, &TBitCheckBox::SetChecked)
          .Boolean("AllowGrayed", &TBitCheckBox::AllowGrayed, &TBitCheckBox::SetAllowGrayed)
          .Enumeration("Alignment", LeftRightType(), &TBitCheckBox::Alignment, &TBitCheckBox::SetAlignment)
          .Boolean("Ctl3D", &TBitCheckBox::Ctl3D, &TBitCheckBox::SetCtl3D)
          .Object("CheckedGlyph", TBitmap::StaticClass(), &TBitCheckBox::CheckedGlyph, &TBitCheckBox::SetCheckedGlyph)
          .Object("UncheckedGlyph", TBitmap::StaticClass(), &TBitCheckBox::UncheckedGlyph,
                  &TBitCheckBox::SetUncheckedGlyph)
          .Object("GrayedGlyph", TBitmap::StaticClass(), &TBitCheckBox::GrayedGlyph, &TBitCheckBox::SetGrayedGlyph)
          .Integer("CheckedNumGlyphs", &TBitCheckBox::CheckedNumGlyphs, &TBitCheckBox::SetCheckedNumGlyphs)
          .Integer("UncheckedNumGlyphs", &TBitCheckBox::UncheckedNumGlyphs, &TBitCheckBox::SetUncheckedNumGlyphs)
          .Integer("GrayedNumGlyphs", &TBitCheckBox::GrayedNumGlyphs, &TBitCheckBox::SetGrayedNumGlyphs);
  return cls;
}

TBitCheckBox::TBitCheckBox(TComponent* owner) : TCustomControl(owner), canvas_(std::make_unique<TCanvas>()) {
  for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
    glyphs_[state].Picture = std::make_unique<TBitmap>();
    glyphs_[state].Picture->Assign(DefaultCheckGlyph(state));
  }
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

TBitCheckBox::~TBitCheckBox() = default;

// ---- state ----

void TBitCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  Repaint();
}

void TBitCheckBox::SetAlignment(TAlignment alignment) {
  if (alignment == taCenter || alignment == alignment_) return;
  alignment_ = alignment;
  Repaint();
}

void TBitCheckBox::SetCtl3D(bool ctl3D) {
  if (ctl3D == ctl3D_) return;
  ctl3D_ = ctl3D;
  Repaint();
}

void TBitCheckBox::SetGlyph(TCheckBoxState state, TBitmap* glyph) {
  GlyphSlot& slot = glyphs_[state];
  slot.Picture->Assign(glyph ? *glyph : DefaultCheckGlyph(state));
  // The default picture is one cell, though 19 is no multiple of 14.
  if (!glyph) slot.NumGlyphs = 1;
  const TBitmap& picture = *slot.Picture;
  if (picture.Height() > 0 && picture.Width() % picture.Height() == 0)
    slot.NumGlyphs = std::clamp(picture.Width() / picture.Height(), 1, 2);
  Repaint();
}

void TBitCheckBox::SetNumGlyphs(TCheckBoxState state, int count) {
  count = std::clamp(count, 1, 2);
  if (count == glyphs_[state].NumGlyphs) return;
  glyphs_[state].NumGlyphs = count;
  Repaint();
}

// ---- input ----

void TBitCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TBitCheckBox::Click() {
  Toggle();
  TCustomControl::Click();
  if (CanFocus() && !Focused()) SetFocus();
}

void TBitCheckBox::KeyPress(std::string& key) {
  TCustomControl::KeyPress(key);
  if (key != " ") return;
  key.clear();
  Click();
}

bool TBitCheckBox::IsAccelerator(Word key, TShiftState shift) const {
  const char accelerator = AcceleratorOf(Caption());
  return (shift & ssAlt) && accelerator != '\0' && key == static_cast<unsigned char>(accelerator);
}

void TBitCheckBox::AcceleratorPressed() {
  if (CanFocus() && !Focused()) SetFocus();
  Toggle();
}

void TBitCheckBox::FontChanged() {
  TCustomControl::FontChanged();
  Repaint();
}

// The focus rectangle comes and goes with the focus.
void TBitCheckBox::DoEnter() {
  TCustomControl::DoEnter();
  Repaint();
}

void TBitCheckBox::DoExit() {
  TCustomControl::DoExit();
  Repaint();
}

// ---- painting ----

int TBitCheckBox::CellWidth() const {
  const GlyphSlot& slot = glyphs_[state_];
  return slot.Picture->Width() / slot.NumGlyphs;
}

TRect TBitCheckBox::TextRect() const {
  const std::string caption = Caption();
  int width = TextWidthOf(Font(), caption);
  if (caption.find('&') != std::string::npos) width -= TextWidthOf(Font(), "&");
  const int height = TextHeightOf(Font());
  TRect rect;
  rect.Left = alignment_ == taRightJustify ? CellWidth() + 4 : 1;
  rect.Right = rect.Left + width;
  rect.Top = (ClientHeight() - height) / 2 - 2;
  rect.Bottom = rect.Top + height + 3;
  return Intersection(rect, ClientRect());
}

void TBitCheckBox::Paint() {
  canvas_->ClearOperations();
  PaintTo(*canvas_);
}

void TBitCheckBox::PaintTo(TCanvas& canvas) const {
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  const TRect textRect = TextRect();
  PaintCaption(canvas, textRect);
  if (Focused())
    canvas.DrawFocusRect(
        Intersection({textRect.Left - 1, textRect.Top - 1, textRect.Right + 1, textRect.Bottom + 1}, ClientRect()));
  PaintGlyph(canvas);
}

// Single line, vertically centred in the box; a disabled caption is grayed,
// with a highlight one pixel down and right for the 3-D look.
void TBitCheckBox::PaintCaption(TCanvas& canvas, const TRect& rect) const {
  const std::string text = WithoutAccelerator(Caption());
  const int y = rect.Top + (rect.Height() - canvas.TextHeight(text)) / 2;
  canvas.Brush().SetStyle(bsClear);
  if (Enabled()) {
    canvas.TextRect(rect, rect.Left, y, text);
  } else {
    if (ctl3D_) {
      canvas.Font().SetColor(clBtnHighlight);
      canvas.TextRect({rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1}, rect.Left + 1, y + 1, text);
    }
    canvas.Font().SetColor(clGrayText);
    canvas.TextRect(rect, rect.Left, y, text);
  }
  canvas.Brush().SetStyle(bsSolid);
}

// Cell 1 normally; cell 2 of a two-cell picture while disabled. The cell is
// drawn without the picture's transparent colour.
void TBitCheckBox::PaintGlyph(TCanvas& canvas) const {
  const GlyphSlot& slot = glyphs_[state_];
  const TBitmap& picture = *slot.Picture;
  const int cellWidth = CellWidth();
  if (cellWidth <= 0 || picture.Height() <= 0) return;
  const int sourceLeft = !Enabled() && slot.NumGlyphs == 2 ? cellWidth : 0;
  TBitmap cell;
  cell.SetSize(cellWidth, picture.Height());
  cell.Canvas().CopyRect({0, 0, cellWidth, picture.Height()}, picture.Canvas(),
                         {sourceLeft, 0, sourceLeft + cellWidth, picture.Height()});
  cell.SetTransparentColor(picture.TransparentColor());
  cell.SetTransparent(true);
  const int x = alignment_ == taRightJustify ? 0 : ClientWidth() - cellWidth;
  canvas.Draw(x, (ClientHeight() - picture.Height()) / 2, cell);
}

}  // namespace qv
