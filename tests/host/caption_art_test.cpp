// The caption bar's drawing plan: gradient, letters, title fitting, buttons and glyphs.
#include <gtest/gtest.h>

#include "panel/CaptionArt.h"

namespace vt {
namespace {

TEST(CaptionArt, GradientCoversTheBarAndShrinksToTheCentre) {
  EXPECT_EQ(GradientEllipse(600, 18, 0), (Rect{-200, -6, 800, 24}));
  EXPECT_EQ(GradientEllipse(600, 18, 50), (Rect{300, 9, 300, 9}));  // a point at the centre
  EXPECT_EQ(GradientColour(GradientOuter(true), GradientCentre(true), 0), (Rgb{50, 50, 50}));
  EXPECT_EQ(GradientColour(GradientOuter(true), GradientCentre(true), 25), (Rgb{25, 25, 152}));
  EXPECT_EQ(GradientColour(GradientOuter(false), GradientCentre(false), 50), (Rgb{200, 200, 250}));
}

TEST(CaptionArt, LettersSpreadAcrossTheBar) {
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(LetterX(600, 7, k), 60 * (k + 1));
  EXPECT_EQ(TextY(18, 13), 2);
  EXPECT_EQ(TitleX(18), 4);
  EXPECT_EQ(TitleX(10), -4);  // a bar smaller than the font: (10 - 16) div 2 truncates to -3
}

TEST(CaptionArt, TitleIsCutBeforeDotsUntilItFits) {
  auto width = [](const std::string& t) { return static_cast<std::int32_t>(t.size() * 6); };
  // Bar 18 high: m = 1; limit = maximizeLeft - 17; a text fits when 6 * len + 16 <= limit.
  EXPECT_EQ(FitTitle("Open", 18, 17 + 16 + 24, width), "Open");
  EXPECT_EQ(FitTitle("Open a file", 18, 17 + 16 + 42, width), "Open...");
  EXPECT_EQ(FitTitle("Open", 18, 0, width), "...");  // nothing fits: only the dots are left
  EXPECT_EQ(FitTitle("", 18, 0, width), "...");
}

TEST(CaptionArt, ButtonGradientTurnsOverWhenPressed) {
  const Rect face = ButtonFace(Rect{573, 0, 591, 18});
  EXPECT_EQ(face, (Rect{575, 2, 590, 17}));
  const int n = ButtonLineCount(face);  // 15 - 3 + 1 lines
  EXPECT_EQ(n, 13);
  EXPECT_EQ(ButtonLineColour(face, 0, false, true), (Rgb{192, 192, 192}));
  EXPECT_EQ(ButtonLineColour(face, n - 1, false, true), (Rgb{0, 0, 255}));
  EXPECT_EQ(ButtonLineColour(face, 0, true, true), (Rgb{0, 0, 255}));
  EXPECT_EQ(ButtonLineColour(face, 0, true, false), (Rgb{40, 40, 255}));
  EXPECT_EQ(ButtonLineColour(face, 0, false, false), (Rgb{232, 232, 192}));
  const Rect flat{0, 0, 10, 3};  // height 3: one line in the top colour
  EXPECT_EQ(ButtonLineCount(flat), 1);
  EXPECT_EQ(ButtonLineColour(flat, 0, false, true), (Rgb{192, 192, 192}));
}

TEST(CaptionArt, GlyphsStayInsideTheirButton) {
  const Rect face{575, 2, 590, 17};  // 15 x 15
  const MaximizeGlyph m = MaximizeGlyphOf(face);
  EXPECT_EQ(m.pen, 1);
  EXPECT_EQ(m.margin, 4);
  EXPECT_EQ(m.outline, (Rect{579, 6, 586, 13}));
  EXPECT_EQ(m.edgeFrom, (Point{579, 7}));
  EXPECT_EQ(m.edgeTo, (Point{585, 7}));

  const RestoreGlyph r = RestoreGlyphOf(face);  // s = 3; back window 12 x 12
  EXPECT_EQ(r.back.outline, (Rect{579, 9, 583, 13}));
  EXPECT_EQ(r.frontEdge, (Rect{582, 6, 586, 8}));
  EXPECT_EQ(r.lineFrom, (Point{585, 6}));
  EXPECT_EQ(r.lineCorner, (Point{585, 11}));
  EXPECT_EQ(r.lineTo, (Point{583, 11}));

  const CloseGlyph c = CloseGlyphOf(face);  // pw 1, h1 1, h0 0, t 4
  EXPECT_EQ(c.falling[0], (Point{578, 6}));
  EXPECT_EQ(c.falling[1], (Point{579, 5}));
  EXPECT_EQ(c.falling[2], (Point{585, 11}));
  EXPECT_EQ(c.rising[0], (Point{c.falling[3].x, c.falling[1].y}));
  for (const auto& pts : {c.falling, c.rising})
    for (Point p : pts) EXPECT_TRUE(Rect({face.left, face.top, face.right + 1, face.bottom + 1}).Contains(p));
}

}  // namespace
}  // namespace vt
