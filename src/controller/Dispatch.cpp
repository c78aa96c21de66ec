#include "controller/Dispatch.h"

#include <cstring>
#include <string>
#include <vector>

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
  if (pid == GetCurrentProcessId() || FindDialogSlot(Block, Handle32(dialog)) >= 0) return false;
  // Shown again before its panel was made: its attach is in hand already.
  const std::uint32_t claimed = Claimed();
  for (int n = 0; n < kSlotCount; ++n)
    if ((claimed & (1u << n)) && Block.Slots[n].DialogWindow == Handle32(dialog)) return false;
  return true;
}

// The slot of a panel being made, and those claimed for attaches put off, have no panel
// window yet, but are taken all the same: given again, two panels would share one slot.
std::uint32_t PanelDispatcher::Claimed() const {
  std::uint32_t claimed = MakingSlot >= 0 ? 1u << MakingSlot : 0;
  for (const PutOff& p : Later) claimed |= 1u << p.slot;
  return claimed;
}

void PanelDispatcher::Attach(HWND dialog, std::string_view appName) {
  if (appName.empty() || !Attachable(dialog)) return;
  CloseDialogless();
  const int n = FirstFreeSlot(Block, Claimed());
  if (n < 0) return;  // ten panels at most: this dialog goes without
  ClaimSlot(Block, n, Handle32(dialog));
  if (MakingSlot >= 0 || !Later.empty() || QueueWaiting()) {
    Later.push_back(PutOff{n, Handle32(dialog), std::string(appName)});
    if (Later.size() == 1) PostMessageA(Env.controller, VTM_ATTACHLATER, 0, 0);
    return;
  }
  MakePanel(n, std::string(appName));
}

// Sent messages come before everything else in the queue: a panel made inside each attach
// would keep a user's click, a close and every other program's message waiting for as long as
// programs keep opening dialogs. With something waiting, the panel takes its turn behind it.
bool PanelDispatcher::QueueWaiting() {
  return HIWORD(GetQueueStatus(QS_SENDMESSAGE | QS_POSTMESSAGE | QS_MOUSEBUTTON | QS_KEY)) != 0;
}

void PanelDispatcher::AttachLater() {
  // One panel a message, so that the queue's other messages get their turn between them; the
  // running one posts again when it is done.
  while (MakingSlot < 0 && !Later.empty()) {
    const PutOff next = std::move(Later.front());
    Later.pop_front();
    DialogSlot& slot = Block.Slots[next.slot];
    // The slot is still the dialog's own (no panel yet), and the dialog still there.
    if (slot.DialogWindow != next.dialog || slot.PanelWindow != 0) continue;
    if (!IsWindow(FromHandle32<HWND>(next.dialog))) {
      std::memset(&slot, 0, kSlotClearedBytes);
      continue;
    }
    MakePanel(next.slot, next.appName);
    return;
  }
}

void PanelDispatcher::MakePanel(int n, const std::string& appName) {
  DialogSlot& slot = Block.Slots[n];
  MakingSlot = n;
  std::unique_ptr<TVTReplacer> panel = TVTReplacer::Create(Env, slot, appName);
  if (panel) {
    TVTReplacer* raw = panel.get();
    // A number, not the object's address: nothing that crosses a process holds a pointer.
    std::uint32_t id = NextId++;
    if (id == 0) id = NextId++;  // 0 means none, should the count ever wrap
    raw->SetPanelId(id);
    Panels.emplace(id, std::move(panel));
    slot.PanelObject = id;
    slot.PanelWindow = Handle32(raw->Handle());
    raw->Show();
  } else {
    std::memset(&slot, 0, kSlotClearedBytes);
  }
  MakingSlot = -1;
  // Those put off meanwhile are made from the queue, not from further down this stack.
  if (!Later.empty()) PostMessageA(Env.controller, VTM_ATTACHLATER, 0, 0);
}

void PanelDispatcher::CloseDialogless() {
  // Copied first: a panel that closes posts its release and stays in the map until then.
  std::vector<TVTReplacer*> open;
  for (const auto& [key, p] : Panels) open.push_back(p.get());
  for (TVTReplacer* p : open) p->CloseIfDialogGone();
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
