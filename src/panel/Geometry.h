// The arithmetic that keeps a panel and its file dialog in one arrangement: the dialog's
// client area shows through the panel's hole, the dialog's frame and caption hide under the
// panel's body. Window-free so that the native tests can check every formula.
#pragma once
#include <cstdint>

#include "kit/Rect.h"

namespace vt {

struct FrameMetrics {
  std::int32_t fx = 0, fy = 0, cy = 0;  // frame width, frame height, caption height
};

// What the transform needs to know of the panel at this moment.
struct PanelFrame {
  Rect window;          // the panel's current window rectangle (screen)
  Rect hole;            // the hole's screen rectangle
  FrameMetrics frame;   // all 0 while the dialog's own border is to be shown
  std::int32_t strip = 0;  // the hidden strip left of the dialog's folder view
};

// The dialog rectangle that fits a proposed panel rectangle: the hole takes up every change
// of the panel's size.
Rect DialogRectForPanel(const PanelFrame& p, const Rect& proposed);
// Its exact inverse, keeping the panel's current size outside the hole.
Rect PanelRectForDialog(const PanelFrame& p, const Rect& dialog);

// The hidden strip: folder view's left edge less the dialog's, less the 6 pixels of the view's
// margin that stay visible. With no folder view there is nothing to hide: 0.
std::int32_t HiddenStripWidth(bool haveView, std::int32_t viewLeft, std::int32_t dialogLeft);

// Positions that lie on (or just off) a screen of this size: |left| within its width and |top|
// within its height, edges included. Stored or reported coordinates beyond it are a minimised
// or parked window's; a stored panel there is centred (settings/Catalogue.h, CentreOrigin).
bool IsOnScreen(std::int32_t left, std::int32_t top, std::int32_t screenWidth, std::int32_t screenHeight);

// SetWindowPos flags of a follow move. The dialog side adds SWP_NOCOPYBITS.
std::uint32_t FollowFlags(std::uint32_t reportedFlags, bool movingDialog);

// The target rectangle of a WINDOWPOS: position and size from it unless the flags keep the
// current ones.
Rect TargetOfWindowPos(const Rect& current, std::int32_t x, std::int32_t y, std::int32_t cx,
                       std::int32_t cy, std::uint32_t flags);

struct CaptionButtonMetrics {
  std::int32_t buttonWidth = 0, buttonHeight = 0;  // SM_CXSIZE, SM_CYSIZE
  std::int32_t border = 0;                          // SM_CXBORDER
  FrameMetrics frame;                               // the real metrics, never zeroed
};
// Button 1 (maximise/restore) or 2 (close) in window coordinates; painting and hit testing
// use slightly different rectangles. Anything else is empty.
Rect CaptionButtonRect(int button, bool painting, std::int32_t windowWidth, const CaptionButtonMetrics& m);
// The first button whose hit rectangle holds the point (window coordinates), else 0.
int CaptionButtonAt(Point p, std::int32_t windowWidth, const CaptionButtonMetrics& m);

// The hole a splitter may leave: a proposed width of a side column is accepted only when
// the hole keeps its minimum, strictly.
bool SplitKeepsHole(std::int32_t proposed, std::int32_t holeMinimum, std::int32_t holeWidth,
                    std::int32_t columnWidth);

}  // namespace vt
