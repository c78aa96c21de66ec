#include "protocol/Slots.h"

#include <cstring>

namespace vt {

int FirstFreeSlot(const SharedBlock& block, std::uint32_t claimed) {
  for (int n = 0; n < kSlotCount; ++n)
    if (block.Slots[n].PanelWindow == 0 && !(claimed & (1u << n))) return n;
  return -1;
}

void ClaimSlot(SharedBlock& block, int n, std::uint32_t dialogWindow) {
  if (n < 0 || n >= kSlotCount) return;
  DialogSlot& slot = block.Slots[n];
  std::memset(&slot, 0, kSlotClearedBytes);
  slot.DialogWindow = dialogWindow;
}

void ReleaseSlot(DialogSlot& slot) {
  slot.State = kSlotClosing;
  slot.PanelWindow = 0;
  slot.DialogWindow = 0;
}

bool AnyPanelOpen(const SharedBlock& block, WindowAliveFn alive) {
  for (const DialogSlot& slot : block.Slots) {
    // One read: a hook instance may not change it, but nothing stops a stray writer.
    std::uint32_t window = slot.PanelWindow;
    if (window != 0 && (!alive || alive(window))) return true;
  }
  return false;
}

int FindDialogSlot(const SharedBlock& block, std::uint32_t dialog) {
  if (!dialog) return -1;
  for (int n = 0; n < kSlotCount; ++n)
    if (block.Slots[n].PanelWindow != 0 && block.Slots[n].DialogWindow == dialog) return n;
  return -1;
}

int FindEditSlot(const SharedBlock& block, std::uint32_t parent, std::uint32_t outerParent) {
  for (int n = 0; n < kSlotCount; ++n) {
    const DialogSlot& s = block.Slots[n];
    if (s.PanelWindow == 0 || s.DialogWindow == 0) continue;
    if (s.DialogWindow == parent || s.DialogWindow == outerParent) return n;
  }
  return -1;
}

DialogSlot ReadSlot(const volatile SharedBlock& block, int n) {
  DialogSlot copy{};
  if (n < 0 || n >= kSlotCount) return copy;
  const volatile DialogSlot& s = block.Slots[n];
  copy.PanelObject = s.PanelObject;
  copy.PanelWindow = s.PanelWindow;
  copy.DialogWindow = s.DialogWindow;
  copy.MaxWidth = s.MaxWidth;
  copy.MaxHeight = s.MaxHeight;
  copy.MinWidth = s.MinWidth;
  copy.MinHeight = s.MinHeight;
  copy.State = s.State;
  copy.MoveGuard = s.MoveGuard;
  copy.CatchFileNameText = s.CatchFileNameText;
  return copy;
}

bool IsPureZOrderChange(std::uint32_t flags) {
  return (flags & kSwpNoMove) && (flags & kSwpNoSize) && !(flags & (kSwpShowWindow | kSwpHideWindow)) &&
         !(flags & kSwpNoZOrder);
}

}  // namespace vt
