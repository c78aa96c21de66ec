#include "controller/PanelSlots.h"

#include <cstring>

namespace vt {

int FirstFreeSlot(const SharedBlock& block) {
  for (int n = 0; n < kSlotCount; ++n)
    if (block.Slots[n].PanelWindow == 0) return n;
  return -1;
}

void ClaimSlot(SharedBlock& block, int n, std::uint32_t dialogWindow) {
  if (n < 0 || n >= kSlotCount) return;
  DialogSlot& slot = block.Slots[n];
  std::memset(&slot, 0, kSlotClearedBytes);
  slot.DialogWindow = dialogWindow;
}

bool AnyPanelOpen(const SharedBlock& block, WindowAliveFn alive) {
  for (const DialogSlot& slot : block.Slots) {
    // One read: a hook instance may not change it, but nothing stops a stray writer.
    std::uint32_t window = slot.PanelWindow;
    if (window != 0 && (!alive || alive(window))) return true;
  }
  return false;
}

}  // namespace vt
