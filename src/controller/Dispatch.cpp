#include "controller/Dispatch.h"

#include <cstring>

#include "util/UtilsExe.h"

namespace vt {

DialogSlot* PendingSlot = nullptr;
std::string PendingAppName;

PanelDispatcher::~PanelDispatcher() {
  for (TVTReplacer* p : Panels) delete p;
}

void PanelDispatcher::Attach(HWND dialog, const void* text, DWORD size) {
  int n = 0;
  while (n < kSlotCount && Block.Slots[n].PanelWindow != 0) ++n;
  if (n == kSlotCount) return;  // ten panels at most: this dialog goes without
  // The name ends at its NUL or at the end of the payload, whichever comes first.
  const char* name = static_cast<const char*>(text);
  PendingAppName = (name && size) ? std::string(name, strnlen(name, size)) : std::string();
  if (PendingAppName.empty()) return;
  DialogSlot& slot = Block.Slots[n];
  PendingSlot = &slot;
  std::memset(&slot, 0, kSlotClearedBytes);
  slot.DialogWindow = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(dialog));
  auto* panel = new TVTReplacer(Env, *PendingSlot, PendingAppName);
  if (!panel->Handle()) {
    delete panel;
    std::memset(&slot, 0, kSlotClearedBytes);
    return;
  }
  Panels.insert(panel);
  slot.PanelObject = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(panel));
  slot.PanelWindow = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(panel->Handle()));
  panel->Show();
}

void PanelDispatcher::Release(WPARAM wp) {
  auto* panel = reinterpret_cast<TVTReplacer*>(wp);
  auto it = Panels.find(panel);
  if (it == Panels.end()) return;  // a stray or repeated release frees nothing
  Panels.erase(it);
  const RECT r = panel->LastBounds();
  HRGN region = CreateRectRgnIndirect(&r);
  RedrawWindow(nullptr, nullptr, region, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW |
                                             RDW_ERASENOW | RDW_FRAME);
  DeleteObject(region);
  if (HWND owner = GetParent(panel->Dialog())) SetForegroundWindow(owner);
  if (panel->Busy()) panel->FreeWhenIdle();  // it is inside its own wait; it frees itself after
  else delete panel;
}

bool PanelDispatcher::WatchTick() {
  FrameWatch::Metrics m;
  GetFrameMetrics(m[0], m[1], m[2], false);
  if (!Watch.Changed(m)) return false;
  bool closed = false;
  for (int n = 0; n < kSlotCount; ++n) {
    HWND w = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Block.Slots[n].PanelWindow));
    // Any process can write the block: only a window of one of our own panels is told to close.
    bool ours = false;
    for (const TVTReplacer* p : Panels) ours = ours || (w && p->Handle() == w);
    if (ours && IsWindowEnabled(w)) {
      SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      closed = true;
    }
  }
  return closed;
}

}  // namespace vt
