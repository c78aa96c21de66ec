// The companion panel seen from outside, for the end-to-end tests: the real Kestrum.exe and
// VT_brow.dll in a fresh folder, real standard Open dialogs shown by small client programs,
// their windows, the panel's hole, the shared block and the registry.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/WineTest.h"
#include "protocol/Handle32.h"

namespace vtt {


inline constexpr DWORD kWait = 15000;
inline constexpr char kPanelClass[] = "TVTReplacer";

struct Metrics {
  int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME), cy = GetSystemMetrics(SM_CYCAPTION);
};

inline RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline std::string Text(const RECT& r) {
  char b[80];
  std::snprintf(b, sizeof b, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return b;
}

// The panel's status bar (its first part: the dialog's folder).
inline std::string StatusText(HWND panel) {
  char text[1024] = {};
  DWORD_PTR r = 0;
  if (HWND bar = FindWindowExA(panel, nullptr, "msctls_statusbar32", nullptr))
    SendMessageTimeoutA(bar, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &r);
  text[sizeof text - 1] = 0;
  return text;
}

// The visible panel whose owner is this dialog.
inline HWND PanelOf(HWND dialog) {
  for (HWND w : TopWindows(0, kPanelClass))
    if (GetWindow(w, GW_OWNER) == dialog && IsWindowVisible(w)) return w;
  return nullptr;
}

// The hole: what the panel's window region leaves out, in screen coordinates.
inline RECT HoleOf(HWND panel) {
  RECT w = WindowRectOf(panel);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  RECT hole{};
  if (GetWindowRgn(panel, region) != ERROR) {
    HRGN full = CreateRectRgn(0, 0, Width(w), Height(w));
    CombineRgn(full, full, region, RGN_DIFF);
    GetRgnBox(full, &hole);
    DeleteObject(full);
    OffsetRect(&hole, w.left, w.top);
  }
  DeleteObject(region);
  return hole;
}

// The dialog's window rectangle that the hole frames: grown by the frame on three sides, by
// frame and caption at the top, and by the strip up to 6 pixels before the folder view.
inline RECT ExpectedDialogRect(HWND panel, HWND dialog) {
  const Metrics m;
  const RECT hole = HoleOf(panel), d = WindowRectOf(dialog);
  HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
  const int strip = view ? WindowRectOf(view).left - d.left - 6 : 0;
  return RECT{hole.left - m.fx - strip, hole.top - m.fy - m.cy, hole.right + m.fx, hole.bottom + m.fy};
}

inline bool Framed(HWND panel, HWND dialog) {
  const RECT hole = HoleOf(panel);
  return !IsRectEmpty(&hole) && Same(ExpectedDialogRect(panel, dialog), WindowRectOf(dialog));
}

// The controller's census (it answers only when started with VT_GDI_CENSUS=1): wParam 0 asks
// for its GDI objects, 1 for the KB its heaps hold in use; -1 when it does not answer.
inline long long Census(HWND controller, WPARAM what) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(controller, RegisterWindowMessageA("VantrelGdiCensus"), what, 0, SMTO_ABORTIFHUNG, 10000,
                           &answer))
    return -1;
  return static_cast<long long>(static_cast<LONG_PTR>(answer));
}
inline int GdiCensus(HWND controller) { return static_cast<int>(Census(controller, 0)); }
inline long long HeapCensusKb(HWND controller) { return Census(controller, 1); }

// The screen, as the user sees it, into a BMP beside the build's deliverables.
inline void KeepScreenshot(const std::string& name) {
  const std::string dir = DistDir() + "..\\artefacts\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                      static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
  if (FILE* f = std::fopen((dir + name).c_str(), "wb")) {
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
    std::fwrite(bits, 1, size, f);
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

// The folder the dialog shows, as its "Look in" box names it.
inline std::string LookIn(HWND dialog) {
  HWND box = FindWindowExA(dialog, nullptr, "ComboBox", nullptr);
  char text[MAX_PATH] = {};
  if (box) SendMessageA(box, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

inline std::string FileNameBox(HWND dialog) {
  HWND edit = FindWindowExA(dialog, nullptr, "Edit", nullptr);
  if (!edit)
    edit = FindWindowExA(FindWindowExA(FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr), nullptr, "ComboBox", nullptr),
                         nullptr, "Edit", nullptr);
  char text[MAX_PATH] = {};
  if (edit) SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// What a missing panel leaves to see: the window taken for the dialog, the block's stamp,
// hooks and slots, and every panel window on the desktop.
inline std::string WhyNoPanel(HWND dialog) {
  char text[128] = {}, cls[64] = {}, line[256];
  GetClassNameA(dialog, cls, sizeof cls);
  GetWindowTextA(dialog, text, sizeof text);
  std::snprintf(line, sizeof line, "window %lu '%s' '%s' %s %s", static_cast<unsigned long>(vt::Handle32(dialog)), cls,
                text, IsWindowVisible(dialog) ? "visible" : "hidden",
                (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) ? "sizable" : "fixed");
  std::string why = line;
  SharedView view;
  if (!view) return why + "; no block";
  std::snprintf(line, sizeof line, "; stamp %lu ms old, hooks %lu/%lu; slots",
                static_cast<unsigned long>(GetTickCount() - view->ControllerStamp),
                static_cast<unsigned long>(view->GetMessageHook), static_cast<unsigned long>(view->CallWndRetHook));
  why += line;
  for (const auto& slot : view->Slots)
    if (slot.DialogWindow || slot.PanelWindow) {
      std::snprintf(line, sizeof line, " [%lu->%lu state %u]", static_cast<unsigned long>(slot.DialogWindow),
                    static_cast<unsigned long>(slot.PanelWindow), static_cast<unsigned>(slot.State));
      why += line;
    }
  why += "; panels";
  for (HWND w : TopWindows(0, kPanelClass)) {
    std::snprintf(line, sizeof line, " [owner %lu %s]", static_cast<unsigned long>(vt::Handle32(GetWindow(w, GW_OWNER))),
                  IsWindowVisible(w) ? "visible" : "hidden");
    why += line;
  }
  return why;
}

// A program with one Open dialog; its file name decides its settings section. The tool is
// panel_client (the classic dialog) or item_client (the common item dialog).
class Client {
 public:
  Client(const ProgramFolder& folder, const std::string& exeName, const std::string& args = {},
         const std::string& tool = "panel_client.exe")
      : exe_(folder.File(exeName)) {
    CopyOneFile(ToolsDir() + tool, exe_);
    process_ = vtt::Process(exe_, args, folder.Path());
  }
  // A client left running would hold the test's output open long after the test.
  ~Client() { process_.Kill(); }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;
  HWND WaitDialog() {
    WaitFor([&] {
      dialog_ = TopWindow(process_.Id(), "#32770");
      return dialog_ && IsWindowVisible(dialog_);
    }, kWait);
    return dialog_;
  }
  // The panel, once the attach has settled (the dialog's own first moves are over).
  HWND WaitPanel() {
    HWND panel = nullptr;
    if (WaitFor([&] { return (panel = PanelOf(dialog_)) != nullptr; }, kWait))
      Pump(800);
    else
      std::fprintf(stderr, "no panel: %s\n", WhyNoPanel(dialog_).c_str());
    return panel;
  }
  HWND Dialog() const { return dialog_; }
  vtt::Process& Process() { return process_; }

 private:
  std::string exe_;
  vtt::Process process_;
  HWND dialog_ = nullptr;
};

class Panel : public ::testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed("Kestrum.exe");
    DeleteTree(kAppKey);
    WriteDword(kAppKey, "NoFirstRun", 1);
    WriteDword(kAppKey, "AutoRun", 0);
    folder_ = std::make_unique<ProgramFolder>();
  }
  void TearDown() override {
    clients_.clear();
    KillProcessesNamed("Kestrum.exe");
    DeleteTree(kAppKey);
  }
  void StartController() {
    controller_ = Process(folder_->File("Kestrum.exe"), {}, folder_->Path());
    ASSERT_TRUE(StartedController(controller_.Id(), kWait));
  }
  Client& Open(const std::string& exeName, const std::string& args = {}) {
    clients_.push_back(std::make_unique<Client>(*folder_, exeName, args));
    return *clients_.back();
  }
  Client& OpenItemDialog(const std::string& exeName, const std::string& args = {}) {
    clients_.push_back(std::make_unique<Client>(*folder_, exeName, args, "item_client.exe"));
    return *clients_.back();
  }
  // Until the block says the slot of this dialog is free.
  bool SlotFreed(HWND dialog) {
    return WaitFor([&] {
      SharedView view;
      if (!view) return false;
      for (const auto& slot : view->Slots)
        if (slot.DialogWindow == vt::Handle32(dialog)) return false;
      return true;
    }, kWait);
  }
  std::string App(const char* exe) { return std::string(kAppKey) + "\\Options\\" + exe; }

  std::unique_ptr<ProgramFolder> folder_;
  Process controller_;
  std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace vtt
