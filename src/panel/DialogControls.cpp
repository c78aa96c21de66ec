#include "panel/DialogControls.h"

#include <cstring>

namespace vt {

namespace {
bool HasClass(HWND w, const char* className) {
  char buf[64] = {};
  GetClassNameA(w, buf, sizeof buf);
  return std::strcmp(buf, className) == 0;
}
}  // namespace

HWND FirstChildByTop(HWND parent, const char* className) {
  if (!parent) return nullptr;
  HWND best = nullptr;
  LONG bestTop = 0;
  int guard = 0;
  for (HWND c = FindWindowExA(parent, nullptr, className, nullptr); c && guard < 1000;
       c = FindWindowExA(parent, c, className, nullptr), ++guard) {
    if (!HasClass(c, className)) continue;  // FindWindowEx ignores case; the dialog's classes don't
    RECT r;
    GetWindowRect(c, &r);
    if (!best || r.top < bestTop) {
      best = c;
      bestTop = r.top;
    }
  }
  return best;
}

HWND FileNameBoxOf(HWND dialog) {
  if (HWND edit = FirstChildByTop(dialog, "Edit")) return edit;
  HWND ex = FirstChildByTop(dialog, "ComboBoxEx32");
  if (HWND edit = FirstChildByTop(FirstChildByTop(ex, "ComboBox"), "Edit")) return edit;
  // The item dialog's nested layout on Windows: one of a few float sinks holds the box.
  HWND ui = FirstChildByTop(FirstChildByTop(dialog, "DUIViewWndClassName"), "DirectUIHWND");
  HWND sink = nullptr;
  for (int i = 0; ui && i < 8 && (sink = FindWindowExA(ui, sink, "FloatNotifySink", nullptr)) != nullptr; ++i)
    if (HWND edit = FirstChildByTop(FirstChildByTop(sink, "ComboBox"), "Edit")) return edit;
  return nullptr;
}

FolderViewWindows FolderViewOf(HWND dialog) {
  FolderViewWindows w;
  w.view = FirstChildByTop(dialog, "SHELLDLL_DefView");
  w.list = w.view ? FirstChildByTop(w.view, "SysListView32") : nullptr;
  return w;
}

HWND ShownFolderView(HWND dialog) {
  if (HWND view = FolderViewOf(dialog).view) return view;
  return FirstChildByTop(FirstChildByTop(dialog, "ExplorerBrowserControl"), "SHELLDLL_DefView");
}

}  // namespace vt
