// The ten dialog slots of the shared block: claimed by the controller, kept current and
// released by panels, read by hook instances. The block can be written by any process at any
// time, so readers decide on a copy of one slot and never trust a field to stay put.
#pragma once
#include <cstdint>

#include "protocol/SharedBlock.h"

namespace vt {

// A controller whose stamp is older than this is taken as not answering: ten missed watch
// ticks, the time Windows itself takes before it calls a window hung. A controller that is
// only busy for a moment (Wine's activation of another program can hold it for two seconds)
// stays below it. A stamp of 0 is one that has not stamped yet.
inline constexpr std::uint32_t kControllerStaleMs = 5000;
constexpr bool ControllerStampFresh(std::uint32_t stamp, std::uint32_t now) {
  return stamp == 0 || now - stamp <= kControllerStaleMs;
}

// Lowest slot whose PanelWindow is 0, or -1 when all ten are in use. `claimed`: slots taken
// although they name no panel window yet, one bit each (bit n: slot n).
int FirstFreeSlot(const SharedBlock& block, std::uint32_t claimed = 0);

// Clears the first 36 bytes of slot n and records the dialog. n outside 0..9 is ignored.
void ClaimSlot(SharedBlock& block, int n, std::uint32_t dialogWindow);

// The panel's last step: State 2, no panel window, no dialog; the slot is free from here on.
void ReleaseSlot(DialogSlot& slot);

// Tells whether a handle still names a window. Every process can write the block, and a
// panel that died without its close leaves its handle behind; such a slot must not keep the
// program from quitting for ever.
using WindowAliveFn = bool (*)(std::uint32_t window);

// True when some slot holds a PanelWindow that is alive (any non-zero one when alive is null).
bool AnyPanelOpen(const SharedBlock& block, WindowAliveFn alive);

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
// Both sides skip such changes while a panel is active.
bool IsPureZOrderChange(std::uint32_t flags);

}  // namespace vt
