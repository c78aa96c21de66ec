#include "panel/Geometry.h"

#include <cstdlib>

namespace vt {

namespace {
// SetWindowPos flags, spelled out so that this file stays window-free.
constexpr std::uint32_t kNoSize = 0x0001, kNoMove = 0x0002, kNoZOrder = 0x0004, kNoRedraw = 0x0008,
                        kNoActivate = 0x0010, kShow = 0x0040, kHide = 0x0080, kNoCopyBits = 0x0100;

std::int64_t X(const Rect& r) { return r.left; }
std::int64_t Y(const Rect& r) { return r.top; }
}  // namespace

Rect DialogRectForPanel(const PanelFrame& p, const Rect& r) {
  const std::int64_t hx = X(p.hole) - X(p.window), hy = Y(p.hole) - Y(p.window);
  const std::int64_t hw = p.hole.Width(), hh = p.hole.Height();
  const std::int64_t dw = r.Width() - p.window.Width(), dh = r.Height() - p.window.Height();
  const FrameMetrics& f = p.frame;
  return MakeRect(X(r) + hx - f.fx - p.strip, Y(r) + hy - f.fy - f.cy,
                  X(r) + hx + hw + dw + f.fx, Y(r) + hy + hh + dh + f.fy);
}

Rect PanelRectForDialog(const PanelFrame& p, const Rect& d) {
  const std::int64_t hx = X(p.hole) - X(p.window), hy = Y(p.hole) - Y(p.window);
  const std::int64_t hw = p.hole.Width(), hh = p.hole.Height();
  const std::int64_t pw = p.window.Width(), ph = p.window.Height();
  const FrameMetrics& f = p.frame;
  return MakeRect(X(d) + p.strip + f.fx - hx, Y(d) + f.fy + f.cy - hy,
                  std::int64_t{d.right} - f.fx - hx + (pw - hw),
                  std::int64_t{d.bottom} - f.fy - hy + (ph - hh));
}

std::int32_t HiddenStripWidth(bool haveView, std::int32_t viewLeft, std::int32_t dialogLeft) {
  if (!haveView) return 0;
  return SaturateInt32(std::int64_t{viewLeft} - dialogLeft - 6);
}

bool IsOnScreen(std::int32_t left, std::int32_t top, std::int32_t screenWidth, std::int32_t screenHeight) {
  return std::llabs(left) <= screenWidth && std::llabs(top) <= screenHeight;
}

std::uint32_t FollowFlags(std::uint32_t reported, bool movingDialog) {
  std::uint32_t flags = (reported & (kShow | kHide)) | kNoZOrder | kNoActivate;
  if (movingDialog) flags |= kNoCopyBits;
  if (!(flags & kHide)) flags |= kNoRedraw;
  return flags;
}

Rect TargetOfWindowPos(const Rect& current, std::int32_t x, std::int32_t y, std::int32_t cx,
                       std::int32_t cy, std::uint32_t flags) {
  std::int64_t left = current.left, top = current.top, w = current.Width(), h = current.Height();
  if (!(flags & kNoMove)) { left = x; top = y; }
  if (!(flags & kNoSize)) { w = cx; h = cy; }
  return MakeRect(left, top, left + w, top + h);
}

Rect CaptionButtonRect(int button, bool painting, std::int32_t windowWidth, const CaptionButtonMetrics& m) {
  if (button != 1 && button != 2) return Rect{};
  const std::int64_t bw = m.buttonWidth, bh = m.buttonHeight;
  std::int64_t top = (std::int64_t{m.frame.cy} - bh) / 2;
  if (!painting) top += m.frame.fy;
  std::int64_t x0 = std::int64_t{windowWidth} - m.border - m.frame.fx;
  if (painting) x0 -= m.frame.fx;
  const std::int64_t left = button == 1 ? x0 - 2 * bw : x0 - bw;
  return MakeRect(left, top, left + bw, top + bh);
}

int CaptionButtonAt(Point p, std::int32_t windowWidth, const CaptionButtonMetrics& m) {
  for (int i = 1; i <= 2; ++i)
    if (CaptionButtonRect(i, false, windowWidth, m).Contains(p)) return i;
  return 0;
}

bool SplitKeepsHole(std::int32_t proposed, std::int32_t holeMinimum, std::int32_t holeWidth,
                    std::int32_t columnWidth) {
  return std::int64_t{proposed} + holeMinimum < std::int64_t{holeWidth} + columnWidth;
}

}  // namespace vt
