// Where pictures go in the preview pane, how they are shrunk, and how GIF frames are laid over
// one another: transparency, the three disposal methods, clipping, timing and looping.
#include <gtest/gtest.h>

#include "kit/GifAnimation.h"
#include "panel/PreviewChoice.h"
#include "panel/PreviewFit.h"

namespace {

using vt::Rect;
using vt::Size;

TEST(PreviewFit, GifFitsShrinksAndCentres) {
  EXPECT_EQ(vt::FitGifPreview({2000, 1000}, {150, 209}), (Rect{0, 67, 150, 142}));
  EXPECT_EQ(vt::FitGifPreview({100, 100}, {150, 209}), (Rect{25, 54, 125, 154}));
  EXPECT_EQ(vt::FitGifPreview({100, 1000}, {150, 209}), (Rect{65, 0, 85, 209}));  // 100 x 1000 -> 20 x 209
  EXPECT_EQ(vt::FitGifPreview({10000, 1}, {150, 209}), (Rect{0, 104, 150, 105}));  // never vanishes
  EXPECT_TRUE(vt::FitGifPreview({0, 10}, {150, 209}).IsEmpty());
  EXPECT_TRUE(vt::FitGifPreview({10, 10}, {0, 209}).IsEmpty());
}

TEST(PreviewFit, JpegScaleIsTheSmallestThatStillFills) {
  EXPECT_EQ(vt::ChooseJpegScale({6000, 4000}, {150, 209}), 1);  // 750 x 500 >= 150 x 100
  EXPECT_EQ(vt::ChooseJpegScale({640, 480}, {400, 400}), 5);    // 400 x 300 is shown
  EXPECT_EQ(vt::ChooseJpegScale({100, 100}, {150, 209}), 8);    // shown at its own size
}

TEST(ScalePicture, AveragesTheCoveredPixels) {
  vt::PixelImage src;
  ASSERT_TRUE(src.Allocate(4, 2, 100));
  src.pixels = {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00, 0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00};
  const vt::PixelImage out = vt::ScalePicture(src, 2, 1);
  ASSERT_EQ(out.pixels.size(), 2u);
  EXPECT_EQ(out.pixels[0], 0xFF00007Fu);
  EXPECT_EQ(out.pixels[1], 0xFF00FF00u);
}

constexpr std::uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kNone = 0;

// A 4 x 1 canvas with red and blue in the global table.
struct Strip {
  vt::GifBuilder builder;
  Strip() {
    builder.Begin(4, 1);
    builder.Image().palette = {kRed, kBlue};
  }
  vt::GifFrame& Frame(int left, std::vector<std::uint8_t> indices, vt::GifDisposal d, int transparent = -1) {
    vt::GifFrame* f = builder.AddFrame(left, 0, static_cast<int>(indices.size()), 1);
    f->indices = indices;
    f->rows = 1;
    f->disposal = d;
    f->transparent = transparent;
    return *f;
  }
};

std::vector<std::uint32_t> Step(vt::GifCompositor& c) {
  c.Advance();
  return c.Canvas().pixels;
}

TEST(GifCompositor, TransparencyAndEachDisposal) {
  Strip s;
  s.Frame(0, {0, 0, 0, 0}, vt::GifDisposal::Keep);
  s.Frame(1, {1, 2}, vt::GifDisposal::Previous, 2);       // index 2 transparent: red stays
  s.Frame(2, {1, 1}, vt::GifDisposal::Background);        // drawn over the restored red
  s.Frame(0, {1}, vt::GifDisposal::Keep);
  vt::GifCompositor c(s.builder.Image());
  EXPECT_EQ(Step(c), (std::vector<std::uint32_t>{kRed, kRed, kRed, kRed}));
  EXPECT_EQ(Step(c), (std::vector<std::uint32_t>{kRed, kBlue, kRed, kRed}));
  EXPECT_EQ(Step(c), (std::vector<std::uint32_t>{kRed, kRed, kBlue, kBlue}));
  EXPECT_EQ(Step(c), (std::vector<std::uint32_t>{kBlue, kRed, kNone, kNone}));
}

TEST(GifCompositor, ClipsFramesAndDrawsOnlyDecodedRows) {
  vt::GifBuilder b;
  b.Begin(2, 2);
  b.Image().palette = {kRed};
  vt::GifFrame* f = b.AddFrame(-1, 1, 4, 2);  // reaches outside on three sides
  f->rows = 1;                                // the second row never arrived
  b.AddFrame(0, 0, 1, 1)->rows = 1;
  b.Image().frames[1].indices = {7};  // past the table: black
  vt::GifCompositor c(b.Image());
  EXPECT_EQ(Step(c), (std::vector<std::uint32_t>{kNone, kNone, kRed, kRed}));
  EXPECT_EQ(Step(c), (std::vector<std::uint32_t>{0xFF000000, kNone, kRed, kRed}));
}

TEST(GifCompositor, DelaysAndLoops) {
  Strip s;
  s.Frame(0, {0}, vt::GifDisposal::Keep).delayMs = vt::DelayFromField(0);
  s.Frame(1, {1}, vt::GifDisposal::Keep).delayMs = vt::DelayFromField(7);
  s.builder.Image().loopCount = 1;  // one repeat after the first pass
  vt::GifCompositor c(s.builder.Image());
  EXPECT_EQ(c.Advance(), 100u);
  EXPECT_EQ(c.Advance(), 70u);
  EXPECT_EQ(c.Advance(), 100u);  // second pass, from a clear canvas
  EXPECT_EQ(c.Canvas().pixels, (std::vector<std::uint32_t>{kRed, kNone, kNone, kNone}));
  EXPECT_EQ(c.Advance(), 70u);
  EXPECT_EQ(c.Advance(), 0u);  // ended; the last frame stays
  EXPECT_TRUE(c.Ended());
  EXPECT_EQ(c.Canvas().pixels, (std::vector<std::uint32_t>{kRed, kBlue, kNone, kNone}));
}

TEST(GifBuilder, CapsCanvasFramesAndBytes) {
  vt::GifBuilder b;
  EXPECT_FALSE(b.Begin(65535, 65535));
  EXPECT_FALSE(b.Begin(0, 10));
  ASSERT_TRUE(b.Begin(16, 16));
  EXPECT_EQ(b.AddFrame(0, 0, 65535, 65535), nullptr);  // 4 GiB of indices
  std::size_t n = 0;
  while (b.AddFrame(0, 0, 1, 1)) ++n;
  EXPECT_EQ(n, vt::kMaxFrames);
}

}  // namespace

namespace {

TEST(PreviewChoice, ByExtensionInAnyCaseWhenSwitchedOn) {
  const vt::PreviewSwitches all;
  EXPECT_EQ(vt::PreviewKindOf("C:\\a\\photo.JpEg", all), vt::PreviewKind::Jpeg);
  EXPECT_EQ(vt::PreviewKindOf("C:\\a\\b.jpg", all), vt::PreviewKind::Jpeg);
  EXPECT_EQ(vt::PreviewKindOf("C:\\a\\b.BMP", all), vt::PreviewKind::Bmp);
  EXPECT_EQ(vt::PreviewKindOf("C:\\a\\b.gif", all), vt::PreviewKind::Gif);
  EXPECT_EQ(vt::PreviewKindOf("C:\\a\\b.png", all), vt::PreviewKind::None);
  EXPECT_EQ(vt::PreviewKindOf("C:\\a.gif\\noext", all), vt::PreviewKind::None);
  vt::PreviewSwitches noJpg;
  noJpg.jpg = false;
  EXPECT_EQ(vt::PreviewKindOf("C:\\a\\photo.jpeg", noJpg), vt::PreviewKind::None);
}

}  // namespace
