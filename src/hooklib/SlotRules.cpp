#include "hooklib/SlotRules.h"

namespace vt::hook {

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

bool ApplySizeLimits(const DialogSlot& slot, bool panelMaximized, SizeLimits* limits) {
  if (!limits || slot.State != kSlotActive) return false;
  bool changed = false;
  if (slot.MaxWidth != 0 && slot.MaxHeight != 0) {
    Point32 max{slot.MaxWidth, slot.MaxHeight};
    limits->maxSize = max;
    limits->maxTrackSize = max;
    changed = true;
  }
  if (slot.MinWidth != 0 && slot.MinHeight != 0) {
    limits->minTrackSize = panelMaximized ? Point32{slot.MaxWidth, slot.MaxHeight}
                                          : Point32{slot.MinWidth, slot.MinHeight};
    changed = true;
  }
  return changed;
}

}  // namespace vt::hook
