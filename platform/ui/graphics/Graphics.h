#pragma once
// Colours, fonts and the deterministic text metrics of the headless control
// model: a font of pixel height h measures h high; a CJK or full-width
// character is h wide, any other character ⌈h/2⌉.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Object.h"

namespace qv {

// 0x00BBGGRR, or a system colour: 0x80000000 | index.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1), clActiveCaption = SystemColor(2),
                 clInactiveCaption = SystemColor(3), clMenu = SystemColor(4), clWindow = SystemColor(5),
                 clWindowFrame = SystemColor(6), clMenuText = SystemColor(7), clWindowText = SystemColor(8),
                 clCaptionText = SystemColor(9), clActiveBorder = SystemColor(10),
                 clInactiveBorder = SystemColor(11), clAppWorkSpace = SystemColor(12),
                 clHighlight = SystemColor(13), clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                 clBtnShadow = SystemColor(16), clGrayText = SystemColor(17), clBtnText = SystemColor(18),
                 clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                 clInfoBk = SystemColor(24);

// The RGB value of a colour; system colours resolve to the classic scheme.
TColor ColorToRGB(TColor color);
// "clBtnFace", "clRed", … or "$00BBGGRR"; and back ("" / false when unknown).
std::string ColorToString(TColor color);
bool IdentToColor(std::string_view name, TColor& color);

// Character sets of fonts, as the platform numbers them.
constexpr int ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
const TEnumType& FontStyleType();

class TFont : public TPersistent {
  QV_OBJECT(TFont, TPersistent)

  TFont();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points at 96 pixels per inch; setting it sets Height to -Size*96/72.
  int Size() const;
  void SetSize(int size);
  int Charset() const { return charset_; }
  void SetCharset(int charset);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // A bit mask of TFontStyle values.
  std::uint32_t Style() const { return style_; }
  void SetStyle(std::uint32_t style);
  bool IsBold() const { return (style_ & (1u << fsBold)) != 0; }

  // The pixel height that text is measured with.
  int PixelHeight() const;

  void Assign(const TPersistent& source) override;
  bool SameAs(const TFont& other) const;

  TNotifyEvent OnChange;

 private:
  void Changed();

  std::string name_ = "宋体";
  int height_ = -13;
  int charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  std::uint32_t style_ = 0;
};

// Whether a character (a Unicode code point) is measured as wide.
bool IsWideCharacter(char32_t c);
int TextWidthOf(const TFont& font, std::string_view utf8);
int TextHeightOf(const TFont& font);

}  // namespace qv
