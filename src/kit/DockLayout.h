// A docking layout of nested boxes, the way form toolkits align their controls.
//
// Each box is aligned Left, Right, Top, Bottom, Client or None. Laying out a box hands its
// visible children, in the order they were added, a strip of the area that is still free:
// Left and Right boxes take their width from that side, Top and Bottom boxes their height;
// Client boxes then share what is left (each gets all of it, as in the toolkits). None boxes
// keep the bounds they were given, relative to the parent's inner area. A strip never takes
// more than is free, so no rectangle is ever inverted; a strip that does not fit is cut.
//
// A splitter is a Left/Right/Top/Bottom box that sizes one neighbouring box. Its drag is
// applied on release through Propose, which first raises the proposal to the splitter's own
// minimum (no snapping) and then accepts it only if the guarded box keeps its minimum:
//   N + minimum of guarded < extent of guarded + extent of sized   (strictly)
// measured across the splitter (widths for Left/Right, heights for Top/Bottom).
#pragma once
#include <cstdint>
#include <vector>

#include "kit/Rect.h"

namespace vt {

enum class Align { None, Left, Right, Top, Bottom, Client };

using BoxId = int;
constexpr BoxId kNoBox = -1;

struct SplitResult {
  bool accepted = false;
  std::int32_t size = 0;  // the size the sized box has afterwards
};

class DockLayout {
 public:
  static constexpr BoxId kRoot = 0;

  DockLayout();

  // A child of parent; size is the width (Left/Right) or height (Top/Bottom), unused
  // otherwise. Returns kNoBox for an unknown parent.
  BoxId Add(BoxId parent, Align align, std::int32_t size = 0);
  // A splitter of the given thickness that sizes `sized` and protects `guarded`'s minimum.
  // Only Left/Right/Top/Bottom splitters are accepted; others give kNoBox.
  BoxId AddSplitter(BoxId parent, Align align, std::int32_t thickness, BoxId sized, BoxId guarded,
                    std::int32_t minimum);

  // Setters ignore unknown boxes; negative sizes count as 0.
  void SetSize(BoxId box, std::int32_t size);
  void SetVisible(BoxId box, bool visible);
  void SetMinimum(BoxId box, Size minimum);
  void SetBorder(BoxId box, std::int32_t inset);  // children are laid out inside this inset
  void SetBounds(BoxId box, Rect bounds);          // None boxes, relative to the parent's inner area
  void SetSplitMinimum(BoxId splitter, std::int32_t minimum);

  std::int32_t RequestedSize(BoxId box) const;  // as set, before the layout cut it
  bool Visible(BoxId box) const;                // the box's own flag
  Size Minimum(BoxId box) const;
  std::int32_t SplitMinimum(BoxId splitter) const;

  // Lays out the whole tree in area (the root's rectangle, in the caller's coordinates).
  void Layout(Rect area);

  // After Layout, in the area's coordinates. A box that is hidden, or has a hidden ancestor,
  // was not placed: Placed is false and its rectangle is empty at the origin.
  bool Placed(BoxId box) const;
  Rect RectOf(BoxId box) const;
  Rect InnerOf(BoxId box) const;             // RectOf less the border
  Rect BoundsInParent(BoxId box) const;      // RectOf relative to the parent's inner area

  // Splitter drag, applied on release. Propose re-runs the layout over the last area when it
  // accepts; a refused proposal changes nothing.
  SplitResult Propose(BoxId splitter, std::int32_t proposed);
  // The proposal a drag of delta pixels makes: Left/Top splitters grow their box by delta,
  // Right/Bottom splitters shrink it.
  std::int32_t ProposalFromDrag(BoxId splitter, std::int32_t delta) const;

  // The smallest outer size the box needs so that its visible children get their strips and
  // its Client children their minimums; never below the box's own minimum.
  Size MinimumSize(BoxId box) const;

 private:
  struct Box {
    BoxId parent = kNoBox;
    Align align = Align::None;
    std::int32_t size = 0;
    Size minimum;
    std::int32_t border = 0;
    Rect bounds;  // None boxes
    bool visible = true;
    bool splitter = false;
    BoxId sized = kNoBox;
    BoxId guarded = kNoBox;
    std::int32_t splitMinimum = 0;
    std::vector<BoxId> children;
    // Results of the last layout.
    bool placed = false;
    Rect rect;
    Rect inner;
  };

  bool Valid(BoxId box) const { return box >= 0 && box < static_cast<BoxId>(boxes_.size()); }
  void Unplace(BoxId box);
  void Place(BoxId box, Rect rect);
  std::int64_t ExtentAcross(BoxId box, bool horizontal) const;

  std::vector<Box> boxes_;
  Rect area_;
};

}  // namespace vt
