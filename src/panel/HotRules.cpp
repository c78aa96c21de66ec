#include "panel/HotRules.h"

#include <algorithm>
#include <cstdlib>

namespace vt {

int HotDropPosition(const std::vector<int>& centres, int y) {
  const int count = static_cast<int>(centres.size());
  if (count == 0 || y <= centres.front()) return 0;
  if (y >= centres.back()) return count;
  for (int k = 1; k < count; ++k)
    if (centres[static_cast<std::size_t>(k)] >= y + 1) return k;
  return count;
}

int HotTopAfterResize(int top, std::optional<int> lastBottom, HotColumn c) {
  if (!lastBottom || top + *lastBottom >= c.downTop) return top;
  return std::min(c.downTop - *lastBottom - kHotBottomGap, c.upBottom);
}

int HotTopAfterUp(int top, HotColumn c) { return std::min(top + kHotScrollStep, c.upBottom); }

int HotTopAfterDown(int top, std::optional<int> lastBottom, HotColumn c) {
  if (!lastBottom) return top;
  int t = top;
  if (*lastBottom + t - kHotScrollStep < c.downTop) t = c.downTop - *lastBottom - kHotBottomGap;
  else t -= kHotScrollStep;
  return std::min(t, c.upBottom);
}

int HotTopToShow(int top, int itemTop, int itemBottom, HotColumn c) {
  if (top + itemTop >= c.upBottom && top + itemBottom < c.downTop) return top;
  if (top + itemTop < c.upBottom) return c.upBottom - itemTop;
  return c.downTop - itemBottom - kHotBottomGap;
}

bool HotDragButtons(unsigned held) { return held == kHeldLeft || held == kHeldRight; }

bool HotDragFarEnough(int dx, int dy) {
  return std::abs(dx) >= kHotDragDistance || std::abs(dy) >= kHotDragDistance;
}

HotMoveSteps HotMove(int position, int dragIndex) {
  return {position, position <= dragIndex ? dragIndex + 1 : dragIndex};
}

std::string HotLinkName(std::uint32_t random) { return std::to_string(random % 1000000000u) + ".lnk"; }

}  // namespace vt
