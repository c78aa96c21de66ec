// Benchmark of the companion panel under Wine (prints figures; not a test):
//   attach latency  dialog visible -> its panel visible around it, 20 dialogs;
//   navigation      start-folder navigation: path typed into the box -> new folder view ->
//                   the program's text back in the box, 20 dialogs; then a hot-folder click:
//                   click -> new folder view -> text back, 20 dialogs;
//   idle cost       CPU time Kestrum.exe uses in 10 s with three panels open and nothing happening,
//                   then a census of the messages its UI thread handles in another 10 s: by
//                   window class and message, so that idle work shows where it comes from.
// --item measures attach and navigation with the common item dialog (item_client.exe) instead,
// without the idle part. Expects VT_DIST (the deliverables) and VT_TOOLS (panel_client.exe,
// item_client.exe) in the environment.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "census/MessageCensus.h"
#include "settings/Product.h"

namespace {

std::string WinPath(const char* env) {
  const char* v = std::getenv(env);
  std::string p = std::string("Z:") + (v ? v : "");
  for (char& c : p) if (c == '/') c = '\\';
  if (p.back() != '\\') p += '\\';
  return p;
}

double Now() {
  static LARGE_INTEGER f{};
  if (!f.QuadPart) QueryPerformanceFrequency(&f);
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return 1000.0 * c.QuadPart / f.QuadPart;
}

PROCESS_INFORMATION Start(const std::string& exe, const std::string& args, const std::string& dir) {
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi);
  return pi;
}

void End(PROCESS_INFORMATION& pi) {
  if (!pi.hProcess) return;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  pi = {};
}

struct Found { DWORD pid; const char* cls; HWND owner; HWND hit; DWORD ownerPid = 0; };
BOOL CALLBACK FindTop(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  DWORD ownerPid = 0;
  if (f->ownerPid) GetWindowThreadProcessId(GetWindow(w, GW_OWNER), &ownerPid);
  // A file dialog is the #32770 window that holds a folder view (the item dialog in its browser).
  const bool dialogLike = lstrcmpA(f->cls, "#32770") != 0 || FindWindowExA(w, nullptr, "SHELLDLL_DefView", nullptr) ||
                          FindWindowExA(w, nullptr, "ExplorerBrowserControl", nullptr);
  if (lstrcmpA(cls, f->cls) == 0 && IsWindowVisible(w) && (!f->pid || pid == f->pid) && dialogLike &&
      (!f->owner || GetWindow(w, GW_OWNER) == f->owner) && (!f->ownerPid || ownerPid == f->ownerPid)) {
    f->hit = w;
    return FALSE;
  }
  return TRUE;
}
HWND Top(DWORD pid, const char* cls, HWND owner = nullptr, DWORD ownerPid = 0) {
  Found f{pid, cls, owner, nullptr, ownerPid};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&f));
  return f.hit;
}

HWND FileNameEdit(HWND dialog) {
  if (HWND edit = FindWindowExA(dialog, nullptr, "Edit", nullptr)) return edit;  // the item dialog's
  HWND ex = FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr);
  return FindWindowExA(FindWindowExA(ex, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr);
}
// The folder view: the classic dialog's child, or inside the item dialog's browser.
HWND ViewOf(HWND dialog) {
  if (HWND v = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr)) return v;
  return FindWindowExA(FindWindowExA(dialog, nullptr, "ExplorerBrowserControl", nullptr), nullptr, "SHELLDLL_DefView",
                       nullptr);
}
std::string TextOf(HWND w) {
  char t[1024] = {};
  if (w) SendMessageA(w, WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t));
  return t;
}

void SetReg(const std::string& key, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(k, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(k);
  }
}

// The hot-folder list of one entry, `path`, stored as the panel reads it.
void StoreHotFolder(const std::string& key, const std::string& path) {
  IShellFolder* desktop = nullptr;
  LPITEMIDLIST list = nullptr;
  std::wstring wide(path.begin(), path.end());
  if (FAILED(SHGetDesktopFolder(&desktop))) return;
  desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr);
  desktop->Release();
  if (!list) return;
  const auto* p = reinterpret_cast<const BYTE*>(list);
  DWORD size = 0;
  while (p[size] | p[size + 1]) size += p[size] | (p[size + 1] << 8);
  DWORD one = 1;
  SetReg(key, "FoldersCount", REG_DWORD, &one, 4);
  SetReg(key, "Folder0", REG_BINARY, p, size + 2);
  CoTaskMemFree(list);
}

BOOL CALLBACK FindListView(HWND w, LPARAM out) {
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, WC_LISTVIEWA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = w;
  return FALSE;
}
HWND HotListOf(HWND panel) {
  HWND list = nullptr;
  if (panel) EnumChildWindows(panel, FindListView, reinterpret_cast<LPARAM>(&list));
  return list;
}
// A click on the first entry, posted as the pointer's would come.
void ClickFirst(HWND list) {
  auto high = [&](int n) { return HIWORD(SendMessageA(list, LVM_APPROXIMATEVIEWRECT, n, MAKELPARAM(-1, -1))); };
  const int h = high(2) - high(1);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, h / 2));
  PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, h / 2));
}

void Print(const char* what, std::vector<double> v) {
  if (v.empty()) { std::printf("%-44s no samples\n", what); return; }
  std::sort(v.begin(), v.end());
  std::printf("%-44s median %7.1f ms   worst %7.1f ms   (n=%zu)\n", what, v[v.size() / 2], v.back(), v.size());
}

struct Navigations {
  std::vector<double> toView, toText;
};

// `runs` dialogs of the client, each driven to `target` once: by its start folder (the path
// shows up typed in its box) or by a click on the panel's one hot folder. The first run warms
// Wine up and is not counted. Every start of a run sets its own LastOpenFolder anew: the
// panel stores the last folder at each close.
Navigations MeasureNavigations(const std::string& app, const std::string& dir, const char* tmp,
                               const std::string& target, int runs, bool click) {
  Navigations out;
  for (int run = 0; run < runs; ++run) {
    if (!click) SetReg(app, "LastOpenFolder", REG_SZ, target.c_str(), static_cast<DWORD>(target.size() + 1));
    PROCESS_INFORMATION c = Start(dir + "BenchClient.exe", "--file report.txt --folder " + std::string(tmp), dir);
    HWND dialog = nullptr, edit = nullptr, view = nullptr, hot = nullptr;
    double began = 0, viewed = 0, restored = 0;
    const double limit = Now() + 20000;
    while (Now() < limit && !restored) {
      if (!dialog && (dialog = Top(c.dwProcessId, "#32770"))) {
        edit = FileNameEdit(dialog);
        view = ViewOf(dialog);
      }
      if (click && dialog && !hot) hot = HotListOf(Top(0, "TVTReplacer", nullptr, c.dwProcessId));
      if (click && hot && !began && SendMessageA(hot, LVM_GETITEMCOUNT, 0, 0) == 1 && ViewOf(dialog)) {
        Sleep(300);  // the panel's start is over
        view = ViewOf(dialog);
        began = Now();
        ClickFirst(hot);
      }
      if (edit) {
        const std::string t = TextOf(edit);
        if (!click && !began && t.rfind(target, 0) == 0) began = Now();
        HWND v = ViewOf(dialog);
        if (began && !viewed && v && v != view) viewed = Now();
        if (viewed && t == "report.txt") restored = Now();
      }
      if (!restored) Sleep(1);
    }
    if (run > 0 && restored) {
      out.toView.push_back(viewed - began);
      out.toText.push_back(restored - began);
    }
    End(c);
    Sleep(300);
  }
  return out;
}

const char* MessageName(std::uint32_t m) {
  switch (m) {
    case WM_TIMER: return "WM_TIMER";
    case WM_PAINT: return "WM_PAINT";
    case WM_COPYDATA: return "WM_COPYDATA";
    case WM_NULL: return "WM_NULL";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_GETTEXT: return "WM_GETTEXT";
    case WM_NOTIFY: return "WM_NOTIFY";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_SETCURSOR: return "WM_SETCURSOR";
    case WM_NCHITTEST: return "WM_NCHITTEST";
    default: return "";
  }
}

// Counts what Kestrum's UI thread handles for `ms`, through the census library hooked into
// that thread alone, and prints the busiest entries.
void MessageCensus(HWND controller, const std::string& tools, DWORD ms) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(vtc::CensusBlock),
                                      vtc::kCensusName);
  auto* block = mapping ? static_cast<vtc::CensusBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
  HMODULE census = LoadLibraryA((tools + "message_census.dll").c_str());
  const DWORD thread = GetWindowThreadProcessId(controller, nullptr);
  HOOKPROC getMessage = census ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(census, "CensusGetMessage"))) : nullptr;
  HOOKPROC callWnd = census ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(census, "CensusCallWndProc"))) : nullptr;
  HHOOK h1 = getMessage ? SetWindowsHookExA(WH_GETMESSAGE, getMessage, census, thread) : nullptr;
  HHOOK h2 = callWnd ? SetWindowsHookExA(WH_CALLWNDPROC, callWnd, census, thread) : nullptr;
  if (!block || !h1 || !h2) {
    std::printf("idle census: could not hook the resident program's thread\n");
  } else {
    Sleep(1000);  // the library loads into the thread with its next message
    block->used = 0;
    block->counting = 1;
    Sleep(ms);
    block->counting = 0;
    std::vector<vtc::CensusEntry> entries(block->entries, block->entries + block->used);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.count > b.count; });
    std::uint64_t total = 0;
    for (const auto& e : entries) total += e.count;
    std::printf("idle census: %llu messages in %lu ms (%u kinds%s)\n", static_cast<unsigned long long>(total), ms,
                block->used, block->dropped ? ", some dropped" : "");
    static const char* kinds[] = {"retrieved", "sent in thread", "sent from outside"};
    for (std::size_t i = 0; i < entries.size() && i < 15; ++i) {
      const auto& e = entries[i];
      std::printf("  %7u  %-22s 0x%04X %-20s %s\n", e.count, e.windowClass, e.message, MessageName(e.message),
                  kinds[e.kind < 3 ? e.kind : 0]);
    }
  }
  if (h1) UnhookWindowsHookEx(h1);
  if (h2) UnhookWindowsHookEx(h2);
  if (block) UnmapViewOfFile(block);
  if (mapping) CloseHandle(mapping);
}

}  // namespace

int main(int argc, char** argv) {
  bool idleOnly = false, noNavigation = false, item = false;
  for (int i = 1; i < argc; ++i) {
    idleOnly = idleOnly || std::strcmp(argv[i], "--idle") == 0;
    noNavigation = noNavigation || std::strcmp(argv[i], "--no-navigation") == 0;
    item = item || std::strcmp(argv[i], "--item") == 0;
  }
  const char* caption = item ? "Open" : "Panel Test Open";
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures appear as they are measured
  const std::string dist = WinPath("VT_DIST"), tools = WinPath("VT_TOOLS");
  char tmp[MAX_PATH];
  GetTempPathA(sizeof tmp, tmp);
  const std::string dir = std::string(tmp) + "vtbench\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  for (const char* f : {"Kestrum.exe", "VT_brow.dll", "TestVT.exe"}) CopyFileA((dist + f).c_str(), (dir + f).c_str(), FALSE);
  CopyFileA((tools + (item ? "item_client.exe" : "panel_client.exe")).c_str(), (dir + "BenchClient.exe").c_str(), FALSE);
  const std::string key = "Software\\Brisvane\\Vantrel";
  DWORD one = 1, zero = 0;
  SetReg(key, "NoFirstRun", REG_DWORD, &one, 4);
  SetReg(key, "AutoRun", REG_DWORD, &zero, 4);
  const std::string app = key + "\\Options\\BenchClient.exe";
  SetReg(app, "OpMode", REG_DWORD, &zero, 4);  // no start folder while attach is measured

  PROCESS_INFORMATION kestrum = Start(dir + "Kestrum.exe", "", dir);
  HWND controller = nullptr;
  for (int i = 0; i < 400 && !(controller = FindWindowA("TVantrel", vt::ProductCaption().c_str())); ++i) Sleep(50);
  if (!kestrum.hProcess || !controller) {
    std::printf("Kestrum.exe did not start from %s\n", dir.c_str());
    return 1;
  }

  std::printf("controller up; measuring attach over 20 %s dialogs\n", item ? "item" : "classic");
  std::vector<double> attach, fromCreation;
  for (int run = 0; run < (idleOnly ? 0 : 21); ++run) {
    PROCESS_INFORMATION c = Start(dir + "BenchClient.exe", "", dir);
    if (!c.hProcess) {
      std::printf("BenchClient.exe did not start\n");
      return 1;
    }
    double shown = 0, framed = 0, created = 0;
    HWND dialog = nullptr;
    const double limit = Now() + 15000;
    while (Now() < limit && !framed) {
      // The dialog is looked up afresh: the first window the program shows may be replaced.
      if (!created && FindWindowA("#32770", caption)) created = Now();
      if (HWND d = Top(c.dwProcessId, "#32770")) {
        if (!dialog) shown = Now();
        dialog = d;
      }
      if (dialog && Top(0, "TVTReplacer", nullptr, c.dwProcessId)) framed = Now();
      if (!framed) Sleep(2);
    }
    if (!framed) std::printf("  run %d: %s, no panel within 15 s\n", run, dialog ? "dialog shown" : "no dialog");
    if (run > 0 && framed) {  // the first start warms Wine up
      attach.push_back(framed - shown);
      if (created) fromCreation.push_back(framed - created);
    }
    End(c);
    Sleep(300);
  }
  Print("attach: dialog visible -> panel visible", attach);
  Print("attach: dialog window made -> panel visible", fromCreation);

  // Navigation at start (OpMode 1), then by a hot-folder click (no start folder): from the
  // path typed or the click to the new view and to the program's text back in the box.
  const std::string target = dir + "Target";
  CreateDirectoryA(target.c_str(), nullptr);
  const int runs = idleOnly || noNavigation ? 0 : 21;
  SetReg(app, "OpMode", REG_DWORD, &one, 4);
  const Navigations started = MeasureNavigations(app, dir, tmp, target, runs, false);
  Print("navigation: typed path -> new folder view", started.toView);
  Print("navigation: typed path -> text restored", started.toText);
  SetReg(app, "OpMode", REG_DWORD, &zero, 4);
  StoreHotFolder(key + "\\HotFolders", target);
  const Navigations clicked = MeasureNavigations(app, dir, tmp, target, runs, true);
  Print("hot-folder click -> new folder view", clicked.toView);
  Print("hot-folder click -> text restored", clicked.toText);

  if (item) {
    End(kestrum);
    return 0;
  }
  // Idle: three panels, nothing happening.
  SetReg(app, "OpMode", REG_DWORD, &zero, 4);
  std::vector<PROCESS_INFORMATION> idle;
  for (int i = 0; i < 3; ++i) {
    idle.push_back(Start(dir + "BenchClient.exe", "", dir));
    for (int k = 0; k < 300; ++k) {
      HWND d = Top(idle.back().dwProcessId, "#32770");
      if (d && Top(0, "TVTReplacer", nullptr, idle.back().dwProcessId)) break;
      Sleep(50);
    }
  }
  Sleep(2000);
  // The CPU time is read by the calling script from the system's process table: Wine does not
  // give one process the times of another.
  int panels = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "TVTReplacer", nullptr); w; w = FindWindowExA(nullptr, w, "TVTReplacer", nullptr)) ++panels;
  std::printf("idle: panel windows in existence: %d\n", panels);
  std::printf("idle: three panels open, measuring\n");
  Sleep(11000);
  MessageCensus(controller, tools, 10000);
  for (auto& p : idle) End(p);
  End(kestrum);
  return 0;
}
