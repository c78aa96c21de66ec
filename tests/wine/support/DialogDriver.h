// The resident program's own windows seen from a test: the panel's menu commands, the options,
// startup and about windows of the controller's process, their controls by id, and clicks on
// them (posted, so that a message box or chooser they open does not block the test).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/PanelHarness.h"

namespace vtt {

inline void PanelCommand(HWND panel, UINT id) { PostMessageA(panel, WM_COMMAND, id, 0); }

// The visible top-level window of this class in that process, once there.
inline HWND WaitWindowOf(DWORD pid, const char* cls) {
  HWND w = nullptr;
  WaitFor([&] { return (w = TopWindow(pid, cls)) != nullptr && IsWindowVisible(w); }, kWait);
  return w;
}

struct ItemSearch {
  int id;
  const char* cls;
  HWND found;
};
inline BOOL CALLBACK MatchItem(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<ItemSearch*>(lp);
  if (s->cls ? ClassOf(w) != s->cls : GetDlgCtrlID(w) != s->id) return TRUE;
  s->found = w;
  return FALSE;
}
// A control anywhere below root, by its id, or the first of a class.
inline HWND Item(HWND root, int id) {
  ItemSearch s{id, nullptr, nullptr};
  EnumChildWindows(root, MatchItem, reinterpret_cast<LPARAM>(&s));
  return s.found;
}
inline HWND ItemOfClass(HWND root, const char* cls) {
  ItemSearch s{0, cls, nullptr};
  EnumChildWindows(root, MatchItem, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

inline void Click(HWND form, int id) {
  PostMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(form, id)));
}

inline void SetCheck(HWND form, int id, bool on) {
  SendMessageA(Item(form, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Read in UTF-16 and converted here: wine64 hands the ANSI form of a list box of another
// process back unconverted (its first character only, as seen from the test).
inline std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    wchar_t wide[1024] = {};
    char text[2048] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(std::size(wide)))
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

// The message box the controller shows, its text, and the box closed again.
inline std::string TakeMessageBox(DWORD pid) {
  HWND box = WaitWindowOf(pid, "#32770");
  if (!box) return {};
  std::string text = MessageBoxText(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(box); }, kWait);
  return text;
}

}  // namespace vtt
