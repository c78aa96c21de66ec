// A stand-in for the resident program inside a test process: it owns the shared block, the
// hidden "TVantrel" window that hook instances find, stand-in panel windows, and the hook
// library it loads. Everything that hook instances send to it is recorded with its arrival
// time. All its windows live on the creating thread, so every wait must pump messages
// (vtt::WaitFor does): the hook's sends block until this thread handles them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/SharedBlock.h"

namespace vth {

struct CopyRecord {
  HWND to = nullptr;      // the controller window or a panel
  bool toPanel = false;
  std::uint32_t kind = 0;
  HWND from = nullptr;    // wParam
  std::uint32_t cbData = 0;
  bool nullData = false;
  std::vector<std::uint8_t> bytes;
  std::int64_t stamp = 0; // QueryPerformanceCounter at arrival
  std::string Text() const;  // bytes up to the first NUL
};

// The file name of the helper program that shows Open dialogs.
inline constexpr char kDialogClientExe[] = "hook_dialog_client.exe";

class Controller {
 public:
  struct Options {
    bool window = true;      // create the "TVantrel" window
    bool claimSlots = true;  // claim a slot for each attach, as the controller does
    std::uint32_t blockSize = vt::kSharedBlockSize;  // a shorter block stands for a forged one
  };
  Controller();
  explicit Controller(const Options& options);
  ~Controller();
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  bool Ready() const { return block_ != nullptr && (!options_.window || window_ != nullptr); }
  vt::SharedBlock& Block() { return *block_; }
  vt::DialogSlot& Slot(int n) { return block_->Slots[n]; }
  HWND Window() const { return window_; }

  // Loads the library (VT_brow.dll from the deliverables by default) and calls SetHook.
  // Returns SetHook's result; false also when the library or its export is missing.
  bool Hook(const std::string& dll = {});
  bool Unhook();  // RemoveHook's result
  bool Loaded() const { return module_ != nullptr; }
  std::string LoadError() const { return loadError_; }

  void SetClaimSlots(bool on) { options_.claimSlots = on; }
  int IdentifyCount() const { return identifies_; }

  // Everything recorded so far, and helpers over it.
  const std::vector<CopyRecord>& Records() const { return records_; }
  std::vector<CopyRecord> Find(std::uint32_t kind, HWND from = nullptr, bool toPanel = false) const;
  std::vector<CopyRecord> ToPanel(HWND panel) const;
  int Count(std::uint32_t kind, HWND from = nullptr, bool toPanel = false) const;
  bool WaitFor(std::uint32_t kind, DWORD ms, int count = 1, HWND from = nullptr, bool toPanel = false);
  void Clear() { records_.clear(); }

  // The slot whose PanelWindow is set and whose DialogWindow is the dialog; -1 if none.
  int SlotOf(HWND dialog) const;
  HWND PanelOf(HWND dialog) const;
  // What a closing panel does: State 2, PanelWindow 0, DialogWindow 0.
  void Release(int slot);
  // Occupies every free slot with a window that is not a panel of any dialog.
  void FillAllSlots();

 private:
  static LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK PanelProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
  void Record(HWND to, bool toPanel, WPARAM wp, const COPYDATASTRUCT* cds);
  void Claim(HWND dialog, const std::string& appName);
  HWND NewPanel();

  Options options_;
  HANDLE mapping_ = nullptr;
  vt::SharedBlock* block_ = nullptr;
  HWND window_ = nullptr;
  std::vector<HWND> panels_;
  HMODULE module_ = nullptr;
  std::string loadError_;
  int identifies_ = 0;
  std::vector<CopyRecord> records_;
};

// Sends with a bound so that a hung or dead receiver fails the test instead of hanging it;
// messages sent to this thread meanwhile are still handled.
bool SendBounded(HWND to, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr, DWORD ms = 5000);
bool SendCopy(HWND to, HWND from, std::uint32_t kind, const void* data, std::uint32_t size,
              LRESULT* result = nullptr, DWORD ms = 5000);

// Runs `call` on a worker thread while this thread pumps its messages (the dialog's thread
// sends to the stand-in panel while it handles a move or show made from here). False when
// the call did not return within the bound: the worker is left stuck and the test fails
// instead of hanging. `call` must own what it uses.
bool Bounded(std::function<void()> call, DWORD ms = 5000);
// ShowWindow / SetWindowPos / EnableWindow on another process's window, bounded as above.
bool ShowBounded(HWND w, int cmd, DWORD ms = 5000);
bool PosBounded(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags, DWORD ms = 5000);
bool EnableBounded(HWND w, bool on, DWORD ms = 5000);

// Milliseconds between two QueryPerformanceCounter values.
double StampMs(std::int64_t from, std::int64_t to);

// Procedures of an exported "SetHook"/"RemoveHook" pair (no arguments, Boolean byte), under
// either decoration; null when missing.
using HookFn = unsigned char (*)();
HookFn HookExport(HMODULE module, const char* name);

}  // namespace vth
