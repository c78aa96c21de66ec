// The controller's view of the ten dialog slots: which one an attach takes, how it is claimed,
// and whether a panel still holds one (then the program must not quit).
#pragma once
#include <cstdint>

#include "hooklib/SharedBlock.h"

namespace vt {

// Lowest slot whose PanelWindow is 0, or -1 when all ten are in use.
int FirstFreeSlot(const SharedBlock& block);

// Clears the first 36 bytes of slot n and records the dialog. n outside 0..9 is ignored.
void ClaimSlot(SharedBlock& block, int n, std::uint32_t dialogWindow);

// Tells whether a handle still names a window. Every process can write the block, and a
// panel that died without its close leaves its handle behind; such a slot must not keep the
// program from quitting for ever.
using WindowAliveFn = bool (*)(std::uint32_t window);

// True when some slot holds a PanelWindow that is alive (any non-zero one when alive is null).
bool AnyPanelOpen(const SharedBlock& block, WindowAliveFn alive);

}  // namespace vt
