#include "platform/ui/graphics/Graphics.h"

#include <cmath>
#include <cstdio>

#include "platform/core/AsciiText.h"
#include "platform/core/NumberText.h"

namespace qv {

namespace {

struct NamedColor {
  TColor color;
  const char* name;
};

const NamedColor kColorNames[] = {
    {clBlack, "clBlack"},       {clMaroon, "clMaroon"},         {clGreen, "clGreen"},
    {clOlive, "clOlive"},       {clNavy, "clNavy"},             {clPurple, "clPurple"},
    {clTeal, "clTeal"},         {clGray, "clGray"},             {clSilver, "clSilver"},
    {clRed, "clRed"},           {clLime, "clLime"},             {clYellow, "clYellow"},
    {clBlue, "clBlue"},         {clFuchsia, "clFuchsia"},       {clAqua, "clAqua"},
    {clWhite, "clWhite"},       {clNone, "clNone"},             {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

// The classic desktop scheme, by system colour index.
const TColor kSystemRGB[] = {
    0xC8C8C8, 0x000000, 0x6A240A, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x6A240A, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x404040, 0xC0C0C0, 0x000000, 0xE1FFFF,
};

// Decodes one UTF-8 character at text[i], advancing i; malformed bytes count one each.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b = static_cast<unsigned char>(text[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  char32_t c = b & (0x3F >> extra);
  for (; extra > 0 && i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; --extra)
    c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  return c;
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color < 0) {
    const int index = color & 0xFF;
    return index < static_cast<int>(std::size(kSystemRGB)) ? kSystemRGB[index] : clBlack;
  }
  return color & 0xFFFFFF;
}

std::string ColorToString(TColor color) {
  for (const NamedColor& named : kColorNames)
    if (named.color == color) return named.name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%.8X", static_cast<unsigned>(color));
  return buffer;
}

bool IdentToColor(std::string_view name, TColor& color) {
  for (const NamedColor& named : kColorNames)
    if (SameTextAscii(named.name, name)) {
      color = named.color;
      return true;
    }
  std::int64_t number;
  if (!TryStrToInt64(name, number) || number < INT32_MIN || number > 0xFFFFFFFFLL) return false;
  color = static_cast<TColor>(static_cast<std::uint32_t>(number));
  return true;
}

const TEnumType& FontStyleType() {
  static const TEnumType type("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  return type;
}

const TClass& TFont::StaticClass() {
  static const TClass cls = ClassBuilder<TFont>("TFont", &TPersistent::StaticClass())
                                .Integer("Charset", &TFont::Charset, &TFont::SetCharset)
                                .Integer("Color", &TFont::Color, &TFont::SetColor)
                                .Integer("Height", &TFont::Height, &TFont::SetHeight)
                                .String("Name", &TFont::Name, &TFont::SetName)
                                .Integer("Size", &TFont::Size, &TFont::SetSize)
                                .Set("Style", FontStyleType(), &TFont::Style, &TFont::SetStyle)
                                .Event("OnChange", &TFont::OnChange);
  return cls;
}

TFont::TFont() = default;

void TFont::Changed() { OnChange(this); }

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const { return static_cast<int>(std::lround(-height_ * 72.0 / 96.0)); }

void TFont::SetSize(int size) { SetHeight(-static_cast<int>(std::lround(size * 96.0 / 72.0))); }

void TFont::SetCharset(int charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetStyle(std::uint32_t style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

int TFont::PixelHeight() const { return std::abs(height_); }

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (!font) return TPersistent::Assign(source);
  if (SameAs(*font)) return;
  name_ = font->name_;
  height_ = font->height_;
  charset_ = font->charset_;
  color_ = font->color_;
  style_ = font->style_;
  Changed();
}

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && charset_ == other.charset_ &&
         color_ == other.color_ && style_ == other.style_;
}

bool IsWideCharacter(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

int TextWidthOf(const TFont& font, std::string_view utf8) {
  const int h = font.PixelHeight();
  const int narrow = (h + 1) / 2;
  int width = 0;
  for (std::size_t i = 0; i < utf8.size();) width += IsWideCharacter(NextCodePoint(utf8, i)) ? h : narrow;
  return width;
}

int TextHeightOf(const TFont& font) { return font.PixelHeight(); }

}  // namespace qv
