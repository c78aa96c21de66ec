// The standard file dialog's windows as the hook library finds them: children by class,
// sorted top to bottom, and the few controls the subclass procedures work with.
#pragma once
#include <windows.h>

#include "hooklib/DialogRules.h"

namespace vt::hook {

// The live window tree through FindWindowExA and GetClassNameA.
class Win32WindowTree final : public WindowTree {
 public:
  bool HasClass(WindowId window, const char* className) const override;
  WindowId NextChild(WindowId parent, WindowId after, const char* className) const override;
};

bool IsFileDialog(HWND window);
bool IsItemDialog(HWND window);
// The window hosting the item dialog's folder view (its ExplorerBrowserControl, or the folder
// view's parent in the nested layout), which answers for the dialog's shell browser; 0 if none.
HWND ItemDialogBrowserHost(HWND dialog);

// Direct children of `parent` whose class is exactly `className`, topmost first. A dialog
// has a dozen children; more than kMaxListed of one class are not looked at.
inline constexpr int kMaxListed = 32;
struct ChildList {
  int count;
  HWND windows[kMaxListed];
};
void ListChildWindows(HWND parent, const char* className, ChildList* list);
HWND FirstChildOf(HWND parent, const char* className);  // topmost, or 0

// First SysListView32 of the first SHELLDLL_DefView; 0 without one.
HWND FindShellListView(HWND dialog);
// The upper of exactly two ComboBox children (the folder box); 0 otherwise.
HWND FindFolderCombo(HWND dialog);
// The only selected item of a list view, or -1.
int GetSingleSelection(HWND listView);
// The file-name box: an Edit child of the dialog, or the Edit inside ComboBoxEx32 > ComboBox.
HWND FindFileNameBox(HWND dialog);

}  // namespace vt::hook
