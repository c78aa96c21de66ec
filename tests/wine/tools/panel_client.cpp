// A small program that shows one standard Open dialog, the way any program on the desktop
// would, for the panel's end-to-end tests. Copies of it under other names stand for other
// programs. Options: --title TEXT, --folder PATH (initial folder), --file NAME (initial text
// of the file-name box), --refuse (the dialog ignores its OK command, the way a dialog that
// cannot open a typed folder stays where it is), --mute (once shown, the dialog answers the
// panel's folder question with 0, so no folder is ever reported), --repeat N (N dialogs, each
// shown once the one before has closed). It ends when the last dialog closes, or when one has
// been open for two minutes.
#include <windows.h>
#include <commdlg.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

VOID CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { ExitProcess(3); }

WNDPROC g_dialogProc = nullptr;
bool g_refuse = false, g_mute = false;

LRESULT CALLBACK RefusingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_refuse && msg == WM_COMMAND && LOWORD(wp) == IDOK) return 0;  // Enter in the box comes here
  if (g_mute && msg == 0x446) return 0;  // VTM_GETFOLDER: "no folder"
  return CallWindowProcA(g_dialogProc, w, msg, wp, lp);
}

BOOL CALLBACK FindOwnDialog(HWND w, LPARAM lp) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

// Runs inside the dialog's modal loop until the dialog is shown (and so attached), then puts
// the refusing procedure in front of it and of the hook library's.
VOID CALLBACK InstallRefusal(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindOwnDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || (g_mute && !IsWindowVisible(dialog))) return;
  KillTimer(nullptr, id);
  g_dialogProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingProc)));
}

// The refusal of --refuse is in front of the dialog's own procedure from the dialog's making:
// put in by a timer, it came after the posted Enter of a navigation now and then (a timer
// message waits for every posted one).
LRESULT CALLBACK RefuseFromTheStart(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND && lp) {
    HWND w = reinterpret_cast<HWND>(wp);
    const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (cs && !(cs->style & WS_CHILD) && !std::strcmp(cls, "#32770"))
      g_dialogProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingProc)));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  std::string title = "Panel Test Open", folder, file;
  int repeat = 1;
  for (int i = 1; i < argc; ++i) {
    g_refuse = g_refuse || !std::strcmp(argv[i], "--refuse");
    g_mute = g_mute || !std::strcmp(argv[i], "--mute");
  }
  if (g_refuse) SetWindowsHookExA(WH_CBT, RefuseFromTheStart, nullptr, GetCurrentThreadId());
  else if (g_mute) SetTimer(nullptr, 0, 20, InstallRefusal);  // with --refuse, behind the library's
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--refuse") || !std::strcmp(argv[i], "--mute")) { --i; continue; }
    if (!std::strcmp(argv[i], "--title")) title = argv[i + 1];
    else if (!std::strcmp(argv[i], "--folder")) folder = argv[i + 1];
    else if (!std::strcmp(argv[i], "--file")) file = argv[i + 1];
    else if (!std::strcmp(argv[i], "--repeat")) repeat = std::atoi(argv[i + 1]);
  }
  BOOL chosen = FALSE;
  for (int n = 0; n < repeat || n == 0; ++n) {
    const UINT_PTR giveUp = SetTimer(nullptr, 0, 120000, GiveUp);
    char buffer[4096] = {};
    lstrcpynA(buffer, file.c_str(), sizeof buffer);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "All files (*.*)\0*.*\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    chosen = GetOpenFileNameA(&ofn);
    KillTimer(nullptr, giveUp);
  }
  return chosen ? 0 : 1;
}
