#include "controller/Dispatch.h"

#include <cstring>
#include <string>

#include "protocol/Slots.h"
#include "util/Handles.h"
#include "util/FrameMetrics.h"
#include "protocol/Handle32.h"

namespace vt {

PanelDispatcher::~PanelDispatcher() {
  // Panels go one by one, each while the others still exist, as they were made; one whose
  // handler is still running further up the stack goes when that handler returns.
  while (!Panels.empty()) {
    std::unique_ptr<TVTReplacer> panel = std::move(Panels.begin()->second);
    Panels.erase(Panels.begin());
    Window::Retire(std::move(panel));
  }
}

// Anyone can send an attach: only a dialog window of another process, not framed yet, gets
// a panel.
bool PanelDispatcher::Attachable(HWND dialog) const {
  if (!dialog || !IsWindow(dialog)) return false;
  char cls[16] = {};
  GetClassNameA(dialog, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  return pid != GetCurrentProcessId() && FindDialogSlot(Block, Handle32(dialog)) < 0;
}

void PanelDispatcher::Attach(HWND dialog, std::string_view appName) {
  if (appName.empty() || !Attachable(dialog)) return;
  const int n = FirstFreeSlot(Block);
  if (n < 0) return;  // ten panels at most: this dialog goes without
  ClaimSlot(Block, n, Handle32(dialog));
  DialogSlot& slot = Block.Slots[n];
  std::unique_ptr<TVTReplacer> panel = TVTReplacer::Create(Env, slot, std::string(appName));
  if (!panel) {
    std::memset(&slot, 0, kSlotClearedBytes);
    return;
  }
  TVTReplacer* raw = panel.get();
  // A number, not the object's address: nothing that crosses a process holds a pointer.
  std::uint32_t id = NextId++;
  if (id == 0) id = NextId++;  // 0 means none, should the count ever wrap
  raw->SetPanelId(id);
  Panels.emplace(id, std::move(panel));
  slot.PanelObject = id;
  slot.PanelWindow = Handle32(raw->Handle());
  raw->Show();
}

void PanelDispatcher::Release(WPARAM key) {
  if (key > 0xFFFFFFFFu) return;
  auto it = Panels.find(static_cast<std::uint32_t>(key));
  // A stray or repeated release frees nothing, nor does one for a panel still at work.
  if (it == Panels.end() || !it->second->HasReleased()) return;
  std::unique_ptr<TVTReplacer> panel = std::move(it->second);
  Panels.erase(it);
  const RECT r = panel->LastBounds();
  UniqueRegion region(CreateRectRgnIndirect(&r));
  // The windows under it belong to other programs: marked for painting, which their own
  // threads do, since painting them now would wait on them.
  RedrawWindow(nullptr, nullptr, region.get(), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  if (HWND owner = GetParent(panel->Dialog())) SetForegroundWindow(owner);
  // Released from inside one of its own handlers, it is freed when that returns.
  Window::Retire(std::move(panel));
}

bool PanelDispatcher::WatchTick() {
  FrameWatch::Metrics m;
  GetFrameMetrics(m[0], m[1], m[2], false);
  if (!Watch.Changed(m)) return false;
  bool closed = false;
  for (int n = 0; n < kSlotCount; ++n) {
    HWND w = FromHandle32<HWND>(Block.Slots[n].PanelWindow);
    // Any process can write the block: only a window of one of our own panels is told to close.
    bool ours = false;
    for (const auto& [key, p] : Panels) ours = ours || (w && p->Handle() == w);
    if (ours && IsWindowEnabled(w)) {
      SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      closed = true;
    }
  }
  return closed;
}

}  // namespace vt
