// The size limits a dialog takes from its slot, applied inside the dialog's process.
#pragma once
#include <cstdint>

#include "protocol/Slots.h"

namespace vt::hook {

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
