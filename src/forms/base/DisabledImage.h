#pragma once
// The disabled image of a button picture: an embossed outline of the
// picture's dark pixels and of its edge against the transparent colour,
// in the button-highlight colour one pixel down and right and the
// button-shadow colour on the pixels themselves, on the button face.

#include "platform/ui/graphics/Graphics.h"

namespace qv {

class TBitmap;

// The disabled image of picture, of the same size, on a 24-bit bitmap.
// transparent is the RGB value of the picture's transparent colour.
void BuildDisabledImage(const TBitmap& picture, TColor transparent, TBitmap& disabled);

// Turns a one-cell button picture into two cells: the picture unchanged,
// then its disabled image to its right. The picture becomes 24 bits per
// pixel; an empty picture is left alone.
void AddDisabledImage(TBitmap& glyph);

}  // namespace qv
