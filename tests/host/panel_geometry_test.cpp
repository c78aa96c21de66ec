// The transform between panel and dialog and the small rules around it.
#include <gtest/gtest.h>

#include "panel/Geometry.h"

namespace vt {
namespace {

// Panel at (100, 80) 600 x 420; hole on screen at (200, 150) 400 x 300; fx = fy = 4, cy = 19, S = 80.
PanelFrame WorkedExample() {
  PanelFrame p;
  p.window = Rect{100, 80, 700, 500};
  p.hole = Rect{200, 150, 600, 450};
  p.frame = FrameMetrics{4, 4, 19};
  p.strip = 80;
  return p;
}

TEST(PanelGeometry, WorkedExampleRoundTrips) {
  const PanelFrame p = WorkedExample();
  const Rect d = DialogRectForPanel(p, p.window);
  EXPECT_EQ(d, (Rect{116, 127, 604, 454}));
  EXPECT_EQ(PanelRectForDialog(p, d), p.window);
  // 50 wider and 20 higher at the same place: the hole takes the whole change.
  const Rect grown = DialogRectForPanel(p, Rect{100, 80, 750, 520});
  EXPECT_EQ(grown, (Rect{116, 127, 654, 474}));
}

TEST(PanelGeometry, InverseHoldsForMovesAndZeroMetrics) {
  PanelFrame p = WorkedExample();
  for (FrameMetrics f : {FrameMetrics{4, 4, 19}, FrameMetrics{0, 0, 0}, FrameMetrics{8, 6, 30}}) {
    p.frame = f;
    const Rect moved{-300, 900, 300, 1320};  // same size, elsewhere (partly off-screen)
    EXPECT_EQ(PanelRectForDialog(p, DialogRectForPanel(p, moved)), moved);
  }
}

TEST(PanelGeometry, ExtremeRectanglesSaturateInsteadOfWrapping) {
  PanelFrame p = WorkedExample();
  // A panel rectangle at the far end of the coordinate range (as a damaged report could give):
  // edges pin at the limits instead of wrapping round to the other side of the screen.
  const Rect d = DialogRectForPanel(p, Rect{INT32_MAX - 10, INT32_MIN, INT32_MAX, INT32_MIN + 10});
  EXPECT_EQ(d.left, INT32_MAX);
  EXPECT_EQ(d.right, INT32_MAX - 96);  // the panel shrank by 590: no overflow here
  EXPECT_GT(d.top, INT32_MIN + 10);
  p.strip = INT32_MAX;
  EXPECT_EQ(DialogRectForPanel(p, Rect{INT32_MIN, 0, 0, 0}).left, INT32_MIN);
}

TEST(PanelGeometry, HiddenStripAndScreenTest) {
  EXPECT_EQ(HiddenStripWidth(true, 186, 100), 80);
  EXPECT_EQ(HiddenStripWidth(false, 186, 100), 0);  // no folder view: nothing to hide
  EXPECT_TRUE(IsOnScreen(-1280, 1024, 1280, 1024));
  EXPECT_TRUE(IsOnScreen(1280, 1024, 1280, 1024));  // on the edge is still on screen
  EXPECT_FALSE(IsOnScreen(-32000, -32000, 1280, 1024));  // a minimised window's parking place
  EXPECT_FALSE(IsOnScreen(32000, 32000, 1280, 1024));
  EXPECT_FALSE(IsOnScreen(1281, 0, 1280, 1024));
  EXPECT_FALSE(IsOnScreen(0, -1025, 1280, 1024));
  EXPECT_FALSE(IsOnScreen(INT32_MIN, 0, 1280, 1024));
  EXPECT_FALSE(IsOnScreen(INT32_MIN, 0, INT32_MAX, INT32_MAX));  // |INT32_MIN| does not fit 32 bits
}

TEST(PanelGeometry, FollowFlagsCarryOnlyVisibility) {
  const std::uint32_t hide = 0x80, show = 0x40, noRedraw = 8, noCopy = 0x100, base = 0x4 | 0x10;
  EXPECT_EQ(FollowFlags(0x2 | 0x1 | show, true), base | show | noRedraw | noCopy);
  EXPECT_EQ(FollowFlags(hide, true), base | hide | noCopy);  // a hide must be painted
  EXPECT_EQ(FollowFlags(hide, false), base | hide);
}

TEST(PanelGeometry, WindowPosTargetKeepsWhatTheFlagsKeep) {
  const Rect cur{10, 20, 110, 220};
  EXPECT_EQ(TargetOfWindowPos(cur, 50, 60, 300, 400, 0), (Rect{50, 60, 350, 460}));
  EXPECT_EQ(TargetOfWindowPos(cur, 50, 60, 300, 400, 2), (Rect{10, 20, 310, 420}));
  EXPECT_EQ(TargetOfWindowPos(cur, 50, 60, 300, 400, 1), (Rect{50, 60, 150, 260}));
}

TEST(PanelGeometry, CaptionButtonsAndHitTesting) {
  CaptionButtonMetrics m{18, 18, 1, FrameMetrics{4, 4, 19}};
  // Window 600 wide: x0 = 600 - 1 - 4 = 595 for hit testing, 591 for painting.
  EXPECT_EQ(CaptionButtonRect(1, false, 600, m), (Rect{559, 4, 577, 22}));
  EXPECT_EQ(CaptionButtonRect(2, false, 600, m), (Rect{577, 4, 595, 22}));
  EXPECT_EQ(CaptionButtonRect(2, true, 600, m), (Rect{573, 0, 591, 18}));
  EXPECT_TRUE(CaptionButtonRect(3, false, 600, m).IsEmpty());
  EXPECT_EQ(CaptionButtonAt(Point{559, 4}, 600, m), 1);
  EXPECT_EQ(CaptionButtonAt(Point{577, 21}, 600, m), 2);
  EXPECT_EQ(CaptionButtonAt(Point{595, 10}, 600, m), 0);  // right edge is outside
  EXPECT_EQ(CaptionButtonAt(Point{560, 22}, 600, m), 0);
}

TEST(PanelGeometry, SplitterNeverNarrowsTheHoleBelowItsMinimum) {
  // Hole 300 wide with minimum 200, column 100: together 400 to share.
  EXPECT_TRUE(SplitKeepsHole(199, 200, 300, 100));
  EXPECT_FALSE(SplitKeepsHole(200, 200, 300, 100));  // strictly
  EXPECT_FALSE(SplitKeepsHole(INT32_MAX, INT32_MAX, 300, 100));
}

}  // namespace
}  // namespace vt
