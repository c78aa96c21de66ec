// The docking layout the panel's columns, bars and hole are built on.
#include <gtest/gtest.h>

#include "kit/DockLayout.h"

namespace vt {
namespace {

// The panel's arrangement in small: menu bar on top, status bar at the bottom, hot column
// left, preview right, each with a splitter, the hole in the middle.
struct PanelLike {
  DockLayout d;
  BoxId top, bottom, left, splitL, right, splitR, hole;
  PanelLike() {
    top = d.Add(DockLayout::kRoot, Align::Top, 20);
    bottom = d.Add(DockLayout::kRoot, Align::Bottom, 19);
    left = d.Add(DockLayout::kRoot, Align::Left, 100);
    right = d.Add(DockLayout::kRoot, Align::Right, 150);
    hole = d.Add(DockLayout::kRoot, Align::Client);
    d.SetMinimum(hole, Size{200, 150});
    splitL = d.AddSplitter(DockLayout::kRoot, Align::Left, 3, left, hole, 30);
    splitR = d.AddSplitter(DockLayout::kRoot, Align::Right, 3, right, hole, 30);
  }
};

TEST(DockLayout, StripsAndClientShareTheArea) {
  PanelLike p;
  p.d.Layout(Rect{0, 0, 635, 395});
  EXPECT_EQ(p.d.RectOf(p.top), (Rect{0, 0, 635, 20}));
  EXPECT_EQ(p.d.RectOf(p.bottom), (Rect{0, 376, 635, 395}));
  EXPECT_EQ(p.d.RectOf(p.left), (Rect{0, 20, 100, 376}));
  EXPECT_EQ(p.d.RectOf(p.right), (Rect{485, 20, 635, 376}));
  EXPECT_EQ(p.d.RectOf(p.splitL), (Rect{100, 20, 103, 376}));
  EXPECT_EQ(p.d.RectOf(p.splitR), (Rect{482, 20, 485, 376}));
  EXPECT_EQ(p.d.RectOf(p.hole), (Rect{103, 20, 482, 376}));
}

TEST(DockLayout, TooSmallAreaCutsStripsWithoutInverting) {
  PanelLike p;
  p.d.Layout(Rect{0, 0, 120, 30});
  for (BoxId b : {p.top, p.bottom, p.left, p.right, p.splitL, p.splitR, p.hole}) {
    const Rect r = p.d.RectOf(b);
    EXPECT_LE(r.left, r.right);
    EXPECT_LE(r.top, r.bottom);
  }
  EXPECT_EQ(p.d.RectOf(p.bottom).Height(), 10);
  EXPECT_TRUE(p.d.RectOf(p.hole).IsEmpty());
}

TEST(DockLayout, HiddenBoxesGiveTheirRoomAway) {
  PanelLike p;
  p.d.SetVisible(p.right, false);
  p.d.SetVisible(p.splitR, false);
  p.d.Layout(Rect{0, 0, 635, 395});
  EXPECT_FALSE(p.d.Placed(p.right));
  EXPECT_EQ(p.d.RectOf(p.hole), (Rect{103, 20, 635, 376}));
}

TEST(DockLayout, SplitterAppliesOnlyProposalsThatKeepTheHole) {
  PanelLike p;
  p.d.Layout(Rect{0, 0, 635, 395});  // hole 379 wide, minimum 200, left 100
  EXPECT_EQ(p.d.ProposalFromDrag(p.splitL, 40), 140);
  EXPECT_EQ(p.d.ProposalFromDrag(p.splitR, 40), 110);  // dragging a right splitter right shrinks
  SplitResult ok = p.d.Propose(p.splitL, 278);  // 278 + 200 < 479
  EXPECT_TRUE(ok.accepted);
  EXPECT_EQ(p.d.RectOf(p.hole).Width(), 201);
  SplitResult refused = p.d.Propose(p.splitL, 290);
  EXPECT_FALSE(refused.accepted);
  EXPECT_EQ(refused.size, 278);
  EXPECT_EQ(p.d.RequestedSize(p.left), 278);
  // Below the splitter's own minimum the proposal is raised, not snapped to zero.
  EXPECT_EQ(p.d.Propose(p.splitL, 5).size, 30);
}

TEST(DockLayout, MinimumSizeAddsStripsAroundTheClientMinimum) {
  PanelLike p;
  const Size m = p.d.MinimumSize(DockLayout::kRoot);
  EXPECT_EQ(m.width, 100 + 3 + 150 + 3 + 200);
  EXPECT_EQ(m.height, 20 + 19 + 150);
}

TEST(DockLayout, NestedBordersAndFreeBoxes) {
  DockLayout d;
  BoxId pane = d.Add(DockLayout::kRoot, Align::Client);
  d.SetBorder(pane, 5);
  BoxId label = d.Add(pane, Align::None);
  d.SetBounds(label, Rect{2, 3, 52, 23});
  d.Layout(Rect{10, 10, 110, 110});
  EXPECT_EQ(d.InnerOf(pane), (Rect{15, 15, 105, 105}));
  EXPECT_EQ(d.RectOf(label), (Rect{17, 18, 67, 38}));
  EXPECT_EQ(d.BoundsInParent(label), (Rect{2, 3, 52, 23}));
  EXPECT_EQ(d.Add(99, Align::Left, 3), kNoBox);
  EXPECT_EQ(d.AddSplitter(DockLayout::kRoot, Align::Client, 3, pane, pane, 0), kNoBox);
}

}  // namespace
}  // namespace vt
