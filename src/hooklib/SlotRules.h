// Decisions the subclass procedures take from a dialog's slot in the shared block. The block
// is written by another process at any time, so callers read one slot into a local copy and
// decide on that copy.
#pragma once
#include <cstdint>

#include "hooklib/SharedBlock.h"

namespace vt::hook {

// Lowest slot in use (PanelWindow non-zero) whose DialogWindow is `dialog`; -1 for none and
// for a null dialog.
int FindDialogSlot(const SharedBlock& block, std::uint32_t dialog);
// Lowest slot in use whose DialogWindow is one of the two candidates (the box's parent, or
// the parent of the parent of its parent); null candidates never match.
int FindEditSlot(const SharedBlock& block, std::uint32_t parent, std::uint32_t outerParent);
// A copy of slot n read field by field from the shared view.
DialogSlot ReadSlot(const volatile SharedBlock& block, int n);

// WINDOWPOS flags.
inline constexpr std::uint32_t kSwpNoSize = 0x1, kSwpNoMove = 0x2, kSwpNoZOrder = 0x4,
                               kSwpShowWindow = 0x40, kSwpHideWindow = 0x80;
// Only the stacking order changes: no move, no size, no show or hide, and a z-order change.
bool IsPureZOrderChange(std::uint32_t flags);

struct Point32 {
  std::int32_t x, y;
};
// The members of MINMAXINFO the panel decides.
struct SizeLimits {
  Point32 maxSize, maxTrackSize, minTrackSize;
};

// Applies the slot's limits to what the dialog's own procedure answered. Nothing changes
// unless the panel is active (State 1). A maximum of zero width or height is left out (the
// panel has not measured yet; a zero limit would collapse the dialog); the minimum applies
// only while MinWidth and MinHeight are both set, and is the maximum while the panel is
// maximised. Returns whether anything was set.
bool ApplySizeLimits(const DialogSlot& slot, bool panelMaximized, SizeLimits* limits);

}  // namespace vt::hook
