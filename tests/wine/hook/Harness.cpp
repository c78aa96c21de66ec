#include "hook/Harness.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "protocol/Messages.h"
#include "support/WineTest.h"
#include "protocol/Handle32.h"

namespace vth {
namespace {

const char kPanelClass[] = "VtTestPanel";

void RegisterOnce(const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

std::int64_t Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

}  // namespace

std::string CopyRecord::Text() const {
  const char* p = reinterpret_cast<const char*>(bytes.data());
  return std::string(p, strnlen(p, bytes.size()));
}

Controller::Controller() : Controller(Options{}) {}

Controller::Controller(const Options& options) : options_(options) {
  // Created and zero-filled as the resident program does at start-up; a block left mapped by
  // an earlier run (Wine's explorer.exe keeps hook instances) is cleared the same way.
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, options_.blockSize,
                                vt::kSharedBlockName);
  if (mapping_) block_ = static_cast<vt::SharedBlock*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
  if (block_) std::memset(block_, 0, options_.blockSize);
  RegisterOnce(vt::kControllerClass, MainProc);
  RegisterOnce(kPanelClass, PanelProc);
  if (options_.window) {
    window_ = CreateWindowExA(0, vt::kControllerClass, "Vantrel v1.01", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

Controller::~Controller() {
  if (module_) {
    Unhook();
    FreeLibrary(module_);
  }
  for (HWND p : panels_) DestroyWindow(p);
  if (window_) DestroyWindow(window_);
  if (block_) UnmapViewOfFile(block_);
  if (mapping_) CloseHandle(mapping_);
}

HookFn HookExport(HMODULE module, const char* name) {
  FARPROC f = GetProcAddress(module, name);
  if (!f) f = GetProcAddress(module, (std::string(name) + "@0").c_str());
  if (!f) f = GetProcAddress(module, ("_" + std::string(name) + "@0").c_str());
  return reinterpret_cast<HookFn>(reinterpret_cast<void*>(f));
}

bool Controller::Hook(const std::string& dll) {
  std::string path = dll.empty() ? vtt::DistDir() + "VT_brow.dll" : dll;
  if (!module_) module_ = LoadLibraryA(path.c_str());
  if (!module_) {
    loadError_ = "cannot load " + path;
    return false;
  }
  auto set = HookExport(module_, "SetHook");
  if (!set) {
    loadError_ = "no SetHook export in " + path;
    return false;
  }
  return set() != 0;
}

bool Controller::Unhook() {
  if (!module_) return false;
  auto remove = HookExport(module_, "RemoveHook");
  return remove && remove() != 0;
}

LRESULT CALLBACK Controller::MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Controller*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && m == vt::VTM_IDENTIFY) {
    ++self->identifies_;
    return vt::kIdentifyAnswer;
  }
  if (self && m == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    self->Record(w, false, wp, cds);
    if (cds && cds->dwData == vt::VTCD_ATTACH && self->options_.claimSlots)
      self->Claim(reinterpret_cast<HWND>(wp), self->records_.back().Text());
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK Controller::PanelProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Controller*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && m == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    self->Record(w, true, wp, cds);
    // A real panel closes with its dialog and frees the slot at once.
    if (cds && cds->dwData == vt::VTCD_DESTROY) {
      for (int n = 0; n < vt::kSlotCount; ++n)
        if (self->block_->Slots[n].PanelWindow == vt::Handle32(w))
          self->Release(n);
    }
    return 0;
  }
  // As a real panel: the request carries nothing, the panel looks at its dialog.
  if (self && m == vt::VTM_DIALOGENABLED) {
    for (const auto& slot : self->block_->Slots)
      if (slot.PanelWindow == vt::Handle32(w)) EnableWindow(w, IsWindowEnabled(vt::FromHandle32<HWND>(slot.DialogWindow)));
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void Controller::Record(HWND to, bool toPanel, WPARAM wp, const COPYDATASTRUCT* cds) {
  CopyRecord r;
  r.stamp = Now();
  r.to = to;
  r.toPanel = toPanel;
  r.from = reinterpret_cast<HWND>(wp);
  if (cds) {
    r.kind = static_cast<std::uint32_t>(cds->dwData);
    r.cbData = cds->cbData;
    r.nullData = cds->lpData == nullptr;
    if (cds->lpData && cds->cbData) {
      const auto* p = static_cast<const std::uint8_t*>(cds->lpData);
      r.bytes.assign(p, p + cds->cbData);
    }
  } else {
    r.nullData = true;
  }
  records_.push_back(std::move(r));
}

HWND Controller::NewPanel() {
  HWND p = CreateWindowExA(0, kPanelClass, "Test panel", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  if (p) {
    SetWindowLongPtrA(p, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    panels_.push_back(p);
  }
  return p;
}

void Controller::Claim(HWND dialog, const std::string& appName) {
  int n = 0;
  while (n < vt::kSlotCount && block_->Slots[n].PanelWindow != 0) ++n;
  if (n == vt::kSlotCount || appName.empty()) return;
  vt::DialogSlot& s = block_->Slots[n];
  std::memset(&s, 0, vt::kSlotClearedBytes);
  s.DialogWindow = vt::Handle32(dialog);
  HWND panel = NewPanel();
  if (!panel) return;
  s.State = vt::kSlotCreating;
  s.MoveGuard = vt::kGuardIdle;
  s.PanelObject = static_cast<std::uint32_t>(n + 1);
  s.PanelWindow = vt::Handle32(panel);
  s.State = vt::kSlotActive;
}

void Controller::Release(int slot) {
  vt::DialogSlot& s = block_->Slots[slot];
  s.State = vt::kSlotClosing;
  s.PanelWindow = 0;
  s.DialogWindow = 0;
}

void Controller::FillAllSlots() {
  for (int n = 0; n < vt::kSlotCount; ++n) {
    vt::DialogSlot& s = block_->Slots[n];
    if (s.PanelWindow) continue;
    std::memset(&s, 0, vt::kSlotClearedBytes);
    s.PanelWindow = vt::Handle32(NewPanel());
    s.DialogWindow = 0x10;  // no real window has this handle
    s.State = vt::kSlotActive;
  }
}

std::vector<CopyRecord> Controller::Find(std::uint32_t kind, HWND from, bool toPanel) const {
  std::vector<CopyRecord> out;
  for (const CopyRecord& r : records_)
    if (r.kind == kind && r.toPanel == toPanel && (!from || r.from == from)) out.push_back(r);
  return out;
}

std::vector<CopyRecord> Controller::ToPanel(HWND panel) const {
  std::vector<CopyRecord> out;
  for (const CopyRecord& r : records_)
    if (r.toPanel && r.to == panel) out.push_back(r);
  return out;
}

int Controller::Count(std::uint32_t kind, HWND from, bool toPanel) const {
  return static_cast<int>(Find(kind, from, toPanel).size());
}

bool Controller::WaitFor(std::uint32_t kind, DWORD ms, int count, HWND from, bool toPanel) {
  return vtt::WaitFor([&] { return Count(kind, from, toPanel) >= count; }, ms);
}

int Controller::SlotOf(HWND dialog) const {
  auto d = vt::Handle32(dialog);
  for (int n = 0; n < vt::kSlotCount; ++n)
    if (block_->Slots[n].PanelWindow && block_->Slots[n].DialogWindow == d) return n;
  return -1;
}

HWND Controller::PanelOf(HWND dialog) const {
  int n = SlotOf(dialog);
  return n < 0 ? nullptr : vt::FromHandle32<HWND>(block_->Slots[n].PanelWindow);
}

bool SendBounded(HWND to, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result, DWORD ms) {
  DWORD_PTR r = 0;
  bool ok = SendMessageTimeoutA(to, msg, wp, lp, SMTO_NORMAL, ms, &r) != 0;
  if (result) *result = static_cast<LRESULT>(r);
  return ok;
}

bool SendCopy(HWND to, HWND from, std::uint32_t kind, const void* data, std::uint32_t size, LRESULT* result,
              DWORD ms) {
  COPYDATASTRUCT cds{};
  cds.dwData = kind;
  cds.cbData = size;
  cds.lpData = const_cast<void*>(data);
  return SendBounded(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&cds), result, ms);
}

bool Bounded(std::function<void()> call, DWORD ms) {
  struct Job {
    std::function<void()> call;
    std::atomic<bool> done{false};
  };
  auto job = std::make_shared<Job>();
  job->call = std::move(call);
  std::thread([job] {
    job->call();
    job->done = true;
  }).detach();
  return vtt::WaitFor([&] { return job->done.load(); }, ms);
}

bool ShowBounded(HWND w, int cmd, DWORD ms) {
  return Bounded([w, cmd] { ShowWindow(w, cmd); }, ms);
}

bool PosBounded(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags, DWORD ms) {
  return Bounded([=] { SetWindowPos(w, after, x, y, cx, cy, flags); }, ms);
}

bool EnableBounded(HWND w, bool on, DWORD ms) {
  return Bounded([w, on] { EnableWindow(w, on); }, ms);
}

double StampMs(std::int64_t from, std::int64_t to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(f.QuadPart);
}

}  // namespace vth
