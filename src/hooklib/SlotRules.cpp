#include "hooklib/SlotRules.h"

namespace vt::hook {

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
