#include "panel/CaptionArt.h"

namespace vt {

namespace {
std::uint8_t Channel(std::int64_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
}  // namespace

Rgb GradientOuter(bool active) { return active ? Rgb{50, 50, 50} : Rgb{100, 100, 150}; }
Rgb GradientCentre(bool active) { return active ? Rgb{0, 0, 255} : Rgb{200, 200, 250}; }

Rgb GradientColour(Rgb c0, Rgb c1, int step) {
  auto mix = [step](int a, int b) { return Channel(a + std::int64_t{step} * (b - a) / kGradientSteps); };
  return Rgb{mix(c0.r, c1.r), mix(c0.g, c1.g), mix(c0.b, c1.b)};
}

Rect GradientEllipse(std::int32_t w, std::int32_t h, int step) {
  const std::int64_t ex0 = -(std::int64_t{w} / 3), ex1 = std::int64_t{w} + w / 3;
  const std::int64_t ey0 = -(std::int64_t{h} / 3), ey1 = std::int64_t{h} + h / 3;
  const std::int64_t dx = (ex1 - ex0) * step / 100, dy = (ey1 - ey0) * step / 100;
  return MakeRect(ex0 + dx, ey0 + dy, ex1 - dx, ey1 - dy);
}

std::int32_t LetterX(std::int32_t w, int n, int k) {
  const std::int64_t step = std::int64_t{w} / (std::int64_t{n} + 3);
  return SaturateInt32((std::int64_t{k} + 1) * step);
}

std::int32_t TextY(std::int32_t h, std::int32_t textHeight) {
  return SaturateInt32((std::int64_t{h} - textHeight) / 2);
}

std::int32_t TitleMargin(std::int32_t h) { return SaturateInt32((std::int64_t{h} - 16) / 2); }
std::int32_t TitleX(std::int32_t h) { return SaturateInt32(2 * std::int64_t{TitleMargin(h)} + 2); }

std::string FitTitle(const std::string& title, std::int32_t h, std::int32_t maximizeLeft,
                     const std::function<std::int32_t(const std::string&)>& width) {
  const std::int64_t limit = std::int64_t{maximizeLeft} - TitleMargin(h) - 16;
  auto fits = [&](const std::string& t) { return limit >= std::int64_t{width(t)} + 16; };
  if (fits(title)) return title;
  std::string body = title;
  // Drop the character before the "..." until it fits or only the dots are left.
  while (!body.empty() && !fits(body + "...")) body.pop_back();
  return body + "...";
}

Rect ButtonFace(const Rect& b) {
  return MakeRect(std::int64_t{b.left} + 2, std::int64_t{b.top} + 2, std::int64_t{b.right} - 1,
                  std::int64_t{b.bottom} - 1);
}

int ButtonLineCount(const Rect& face) {
  const std::int64_t n = face.Height() - 3;
  return n < 0 ? 0 : static_cast<int>(n + 1);
}

Rgb ButtonLineColour(const Rect& face, int k, bool pressed, bool active) {
  const Rgb silver{192, 192, 192}, blue{0, 0, 255};
  const Rgb top = pressed ? blue : silver, bottom = pressed ? silver : blue;
  const std::int64_t n = face.Height() - 3;
  const int lift = active ? 0 : 40;
  auto mix = [&](int a, int b) { return n <= 0 ? std::int64_t{a} : a + std::int64_t{k} * (b - a) / n; };
  return Rgb{Channel(mix(top.r, bottom.r) + lift), Channel(mix(top.g, bottom.g) + lift),
             Channel(mix(top.b, bottom.b))};
}

MaximizeGlyph MaximizeGlyphOf(const Rect& r) {
  MaximizeGlyph g;
  const std::int64_t w = r.Width();
  g.pen = SaturateInt32(w / 14);
  g.margin = SaturateInt32(w / 4 + 1);
  const std::int64_t mg = g.margin;
  g.outline = MakeRect(r.left + mg, r.top + mg, r.right - mg, r.bottom - mg);
  const std::int32_t y = SaturateInt32(r.top + mg + g.pen);
  g.edgeFrom = Point{SaturateInt32(r.left + mg), y};
  g.edgeTo = Point{SaturateInt32(r.right - mg - 1), y};
  return g;
}

RestoreGlyph RestoreGlyphOf(const Rect& r) {
  RestoreGlyph g;
  const std::int64_t w = r.Width();
  std::int64_t pw = w / 14;
  if (pw < 1) pw = 1;
  const std::int64_t s = 2 * pw + 1;
  const Rect r2 = MakeRect(r.left, r.top + s, r.right - s, r.bottom);
  g.back = MaximizeGlyphOf(r2);
  const std::int64_t mg2 = g.back.margin;
  g.frontEdge = MakeRect(r.left + mg2 + s, r.top + mg2, r.right - mg2, r.top + mg2 + s - 1);
  const std::int32_t x = SaturateInt32(r.right - mg2 - 1);
  const std::int32_t y = SaturateInt32((std::int64_t{r2.top} + r2.bottom) / 2);
  g.lineFrom = Point{x, SaturateInt32(r.top + mg2)};
  g.lineCorner = Point{x, y};
  g.lineTo = Point{SaturateInt32(r2.right - mg2), y};
  return g;
}

CloseGlyph CloseGlyphOf(const Rect& r) {
  const std::int64_t w = r.Width();
  std::int64_t pw = w / 14;
  if (pw < 0) pw = 0;
  const std::int64_t h1 = (pw + 1) / 2, h0 = pw / 2, t = (w - 1) / 3;
  auto P = [](std::int64_t x, std::int64_t y) { return Point{SaturateInt32(x), SaturateInt32(y)}; };
  const Point p0 = P(r.left + t - h1, r.top + t + h0);
  const Point p1 = P(r.left + t + pw - h1, r.top + t - pw + h0);
  const Point p2 = P(std::int64_t{r.right} - t + pw - h1 - 1, std::int64_t{r.bottom} - t - pw + h0 - 1);
  const Point p3 = P(std::int64_t{r.right} - t - h1 - 1, std::int64_t{r.bottom} - t + h0 - 1);
  CloseGlyph g;
  g.falling = {p0, p1, p2, p3};
  g.rising = {Point{p3.x, p1.y}, Point{p2.x, p0.y}, Point{p1.x, p3.y}, Point{p0.x, p2.y}};
  return g;
}

}  // namespace vt
