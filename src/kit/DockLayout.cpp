#include "kit/DockLayout.h"

#include <algorithm>

namespace vt {

namespace {
std::int32_t NonNegative(std::int32_t v) { return v < 0 ? 0 : v; }

Rect Inset(Rect r, std::int32_t by) {
  // An inset larger than the box collapses it to its centre line rather than inverting it.
  std::int64_t l = std::int64_t{r.left} + by, t = std::int64_t{r.top} + by;
  std::int64_t rr = std::int64_t{r.right} - by, b = std::int64_t{r.bottom} - by;
  if (rr < l) l = rr = (std::int64_t{r.left} + r.right) / 2;
  if (b < t) t = b = (std::int64_t{r.top} + r.bottom) / 2;
  return MakeRect(l, t, rr, b);
}
}  // namespace

DockLayout::DockLayout() { boxes_.push_back(Box{}); }

BoxId DockLayout::Add(BoxId parent, Align align, std::int32_t size) {
  if (!Valid(parent)) return kNoBox;
  Box box;
  box.parent = parent;
  box.align = align;
  box.size = NonNegative(size);
  boxes_.push_back(box);
  BoxId id = static_cast<BoxId>(boxes_.size() - 1);
  boxes_[parent].children.push_back(id);
  return id;
}

BoxId DockLayout::AddSplitter(BoxId parent, Align align, std::int32_t thickness, BoxId sized,
                              BoxId guarded, std::int32_t minimum) {
  if (align == Align::None || align == Align::Client) return kNoBox;
  if (!Valid(sized) || !Valid(guarded)) return kNoBox;
  BoxId id = Add(parent, align, thickness);
  if (id == kNoBox) return id;
  Box& s = boxes_[id];
  s.splitter = true;
  s.sized = sized;
  s.guarded = guarded;
  s.splitMinimum = NonNegative(minimum);
  return id;
}

void DockLayout::SetSize(BoxId box, std::int32_t size) {
  if (Valid(box)) boxes_[box].size = NonNegative(size);
}
void DockLayout::SetVisible(BoxId box, bool visible) {
  if (Valid(box)) boxes_[box].visible = visible;
}
void DockLayout::SetMinimum(BoxId box, Size minimum) {
  if (Valid(box)) boxes_[box].minimum = Size{NonNegative(minimum.width), NonNegative(minimum.height)};
}
void DockLayout::SetBorder(BoxId box, std::int32_t inset) {
  if (Valid(box)) boxes_[box].border = NonNegative(inset);
}
void DockLayout::SetBounds(BoxId box, Rect bounds) {
  if (Valid(box)) boxes_[box].bounds = bounds;
}
void DockLayout::SetSplitMinimum(BoxId splitter, std::int32_t minimum) {
  if (Valid(splitter) && boxes_[splitter].splitter) boxes_[splitter].splitMinimum = NonNegative(minimum);
}

std::int32_t DockLayout::RequestedSize(BoxId box) const { return Valid(box) ? boxes_[box].size : 0; }
bool DockLayout::Visible(BoxId box) const { return Valid(box) && boxes_[box].visible; }
Size DockLayout::Minimum(BoxId box) const { return Valid(box) ? boxes_[box].minimum : Size{}; }
std::int32_t DockLayout::SplitMinimum(BoxId splitter) const {
  return Valid(splitter) ? boxes_[splitter].splitMinimum : 0;
}

void DockLayout::Unplace(BoxId box) {
  Box& b = boxes_[box];
  b.placed = false;
  b.rect = b.inner = Rect{};
  for (BoxId c : b.children) Unplace(c);
}

void DockLayout::Place(BoxId box, Rect rect) {
  Box& b = boxes_[box];
  b.placed = true;
  b.rect = rect;
  b.inner = Inset(rect, b.border);
  Rect free = b.inner;
  // Children are copied out: placing them touches boxes_ but never resizes it.
  const std::vector<BoxId> children = b.children;
  for (BoxId c : children) {
    Box& k = boxes_[c];
    if (!k.visible) { Unplace(c); continue; }
    std::int64_t w = free.Width(), h = free.Height();
    std::int32_t strip;
    switch (k.align) {
      case Align::Left:
        strip = static_cast<std::int32_t>(std::min<std::int64_t>(k.size, w));
        Place(c, Rect{free.left, free.top, free.left + strip, free.bottom});
        free.left += strip;
        break;
      case Align::Right:
        strip = static_cast<std::int32_t>(std::min<std::int64_t>(k.size, w));
        Place(c, Rect{free.right - strip, free.top, free.right, free.bottom});
        free.right -= strip;
        break;
      case Align::Top:
        strip = static_cast<std::int32_t>(std::min<std::int64_t>(k.size, h));
        Place(c, Rect{free.left, free.top, free.right, free.top + strip});
        free.top += strip;
        break;
      case Align::Bottom:
        strip = static_cast<std::int32_t>(std::min<std::int64_t>(k.size, h));
        Place(c, Rect{free.left, free.bottom - strip, free.right, free.bottom});
        free.bottom -= strip;
        break;
      case Align::Client:
      case Align::None:
        break;  // placed once the edge strips are taken
    }
  }
  for (BoxId c : children) {
    Box& k = boxes_[c];
    if (!k.visible) continue;
    if (k.align == Align::Client) {
      Place(c, free);
    } else if (k.align == Align::None) {
      const Rect& in = boxes_[box].inner;
      Place(c, MakeRect(std::int64_t{in.left} + k.bounds.left, std::int64_t{in.top} + k.bounds.top,
                        std::int64_t{in.left} + k.bounds.right, std::int64_t{in.top} + k.bounds.bottom));
    }
  }
}

void DockLayout::Layout(Rect area) {
  area_ = area;
  if (!boxes_[kRoot].visible) { Unplace(kRoot); return; }
  Place(kRoot, area);
}

bool DockLayout::Placed(BoxId box) const { return Valid(box) && boxes_[box].placed; }
Rect DockLayout::RectOf(BoxId box) const { return Valid(box) ? boxes_[box].rect : Rect{}; }
Rect DockLayout::InnerOf(BoxId box) const { return Valid(box) ? boxes_[box].inner : Rect{}; }

Rect DockLayout::BoundsInParent(BoxId box) const {
  if (!Valid(box) || box == kRoot) return RectOf(box);
  const Rect& r = boxes_[box].rect;
  const Rect& in = boxes_[boxes_[box].parent].inner;
  return MakeRect(std::int64_t{r.left} - in.left, std::int64_t{r.top} - in.top,
                  std::int64_t{r.right} - in.left, std::int64_t{r.bottom} - in.top);
}

std::int64_t DockLayout::ExtentAcross(BoxId box, bool horizontal) const {
  const Rect& r = boxes_[box].rect;
  return horizontal ? r.Width() : r.Height();
}

SplitResult DockLayout::Propose(BoxId splitter, std::int32_t proposed) {
  SplitResult result;
  if (!Valid(splitter) || !boxes_[splitter].splitter) return result;
  const Box& s = boxes_[splitter];
  result.size = boxes_[s.sized].size;
  std::int32_t n = std::max(proposed, s.splitMinimum);
  bool horizontal = s.align == Align::Left || s.align == Align::Right;
  std::int64_t guardedMin = horizontal ? boxes_[s.guarded].minimum.width : boxes_[s.guarded].minimum.height;
  std::int64_t room = ExtentAcross(s.guarded, horizontal) + ExtentAcross(s.sized, horizontal);
  if (!(n + guardedMin < room)) return result;
  boxes_[s.sized].size = n;
  Layout(area_);
  result.accepted = true;
  result.size = n;
  return result;
}

std::int32_t DockLayout::ProposalFromDrag(BoxId splitter, std::int32_t delta) const {
  if (!Valid(splitter) || !boxes_[splitter].splitter) return 0;
  const Box& s = boxes_[splitter];
  std::int64_t current = boxes_[s.sized].size;
  std::int64_t n = (s.align == Align::Left || s.align == Align::Top) ? current + delta : current - delta;
  return SaturateInt32(n);
}

Size DockLayout::MinimumSize(BoxId box) const {
  if (!Valid(box)) return Size{};
  const Box& b = boxes_[box];
  // Client boxes share whatever the strips leave, whatever their order; the strips are then
  // walked backwards, each adding to the room the later ones need.
  std::int64_t w = 0, h = 0;
  for (BoxId c : b.children) {
    const Box& k = boxes_[c];
    if (!k.visible || k.align != Align::Client) continue;
    Size m = MinimumSize(c);
    w = std::max<std::int64_t>(w, m.width);
    h = std::max<std::int64_t>(h, m.height);
  }
  for (auto it = b.children.rbegin(); it != b.children.rend(); ++it) {
    const Box& k = boxes_[*it];
    if (!k.visible) continue;
    Size m = MinimumSize(*it);
    switch (k.align) {
      case Align::Left: case Align::Right:
        w += std::max<std::int64_t>(k.size, 0);
        h = std::max<std::int64_t>(h, m.height);
        break;
      case Align::Top: case Align::Bottom:
        h += std::max<std::int64_t>(k.size, 0);
        w = std::max<std::int64_t>(w, m.width);
        break;
      case Align::Client: case Align::None:
        break;
    }
  }
  w += 2 * std::int64_t{b.border};
  h += 2 * std::int64_t{b.border};
  return Size{SaturateInt32(std::max<std::int64_t>(w, b.minimum.width)),
              SaturateInt32(std::max<std::int64_t>(h, b.minimum.height))};
}

}  // namespace vt
