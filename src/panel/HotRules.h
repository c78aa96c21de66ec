// The hot list's window-free rules: where a drop lands among the entries, how far the arrow
// bars and a selection move the list inside its column, when a press turns into a drag, and
// the names of the shortcut files.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt {

// An entry's centre: the middle of its rectangle, rounded towards zero.
inline int HotCentre(int top, int bottom) { return (top + bottom) / 2; }

// Insertion position for a drop at client y, from the entries' centres in list order: before
// the first entry above its centre, after the last below its centre, else before the first
// entry whose centre lies below y.
int HotDropPosition(const std::vector<int>& centres, int y);

// The list hangs in its column between the up bar (its bottom edge) and the down bar (its top
// edge); the list's top edge is the scroll position. lastBottom is the bottom of the last
// entry in the list's own coordinates, none without entries.
struct HotColumn {
  int upBottom = 16;
  int downTop = 0;
};
// After the column changed size: closes a gap below the last entry, never pulling the first
// entry below the up bar.
int HotTopAfterResize(int top, std::optional<int> lastBottom, HotColumn c);
int HotTopAfterUp(int top, HotColumn c);
int HotTopAfterDown(int top, std::optional<int> lastBottom, HotColumn c);
// The top that shows the entry spanning itemTop..itemBottom (list coordinates) between the bars.
int HotTopToShow(int top, int itemTop, int itemBottom, HotColumn c);
inline constexpr int kHotScrollStep = 50;
inline constexpr int kHotBottomGap = 4;

// A drag starts only with exactly one of the two buttons held and nothing else (no other
// button, no Shift, Ctrl or Alt), once the pointer is 10 pixels away in either direction.
enum HotHeld : unsigned {
  kHeldLeft = 0x01, kHeldRight = 0x02, kHeldShift = 0x04, kHeldControl = 0x08, kHeldMiddle = 0x10,
  kHeldX1 = 0x20, kHeldX2 = 0x40, kHeldAlt = 0x100,
};
inline constexpr int kHotDragDistance = 10;
bool HotDragButtons(unsigned held);
bool HotDragFarEnough(int dx, int dy);

// A drag inside the list dropped at `position`: insert the moved copy there, then delete the
// original, whose index shifts when the copy went in before it.
struct HotMoveSteps {
  int insertAt;
  int deleteAt;
};
HotMoveSteps HotMove(int position, int dragIndex);

// "<r mod 1000000000>.lnk".
std::string HotLinkName(std::uint32_t random);

}  // namespace vt
