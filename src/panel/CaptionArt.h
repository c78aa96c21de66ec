// The drawing plan of the panel's own caption bar: every colour, ellipse, letter position,
// button line and glyph point, worked out without a device context so that the arithmetic
// can be tested natively. The Windows side only replays the plan onto a bitmap.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "kit/Rect.h"

namespace vt {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kLetterColour{0, 128, 0};
inline constexpr Rgb kTitleColour{220, 255, 220};
inline constexpr Rgb kGlyphColour{255, 255, 255};
inline constexpr char kCaptionLetters[] = "VANTREL";
inline constexpr int kGradientSteps = 50;

// Outer (step 0) and centre (step 50) colours of the radial gradient.
Rgb GradientOuter(bool active);
Rgb GradientCentre(bool active);
// Colour of step i (0..50) between c0 and c1.
Rgb GradientColour(Rgb c0, Rgb c1, int step);
// Bounding box of ellipse i (0..50) over a bitmap of w x h.
Rect GradientEllipse(std::int32_t w, std::int32_t h, int step);

// x of letter k (1-based) of a text of n letters spread over a bar w wide.
std::int32_t LetterX(std::int32_t w, int n, int k);
// y of a line of text of this height, centred in a bar h high.
std::int32_t TextY(std::int32_t h, std::int32_t textHeight);

// Title layout: margin m, where it starts, and the text cut with "..." so that it ends at
// least 16 pixels before maximizeLeft. width() measures a text in the title font.
std::int32_t TitleMargin(std::int32_t h);
std::int32_t TitleX(std::int32_t h);
std::string FitTitle(const std::string& title, std::int32_t h, std::int32_t maximizeLeft,
                     const std::function<std::int32_t(const std::string&)>& width);

// Caption buttons: the inner rectangle painted, and the colour of line k of its gradient.
Rect ButtonFace(const Rect& button);
Rgb ButtonLineColour(const Rect& face, int k, bool pressed, bool active);
int ButtonLineCount(const Rect& face);  // lines 0..count-1

struct MaximizeGlyph {
  std::int32_t pen = 0, margin = 0;
  Rect outline;
  Point edgeFrom, edgeTo;  // the thick title edge
};
MaximizeGlyph MaximizeGlyphOf(const Rect& face);

struct RestoreGlyph {
  MaximizeGlyph back;
  Rect frontEdge;                 // filled, right and bottom excluded
  Point lineFrom, lineCorner, lineTo;
};
RestoreGlyph RestoreGlyphOf(const Rect& face);

struct CloseGlyph {
  std::array<Point, 4> falling, rising;
};
CloseGlyph CloseGlyphOf(const Rect& face);

}  // namespace vt
