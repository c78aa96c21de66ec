// The standard file dialog's windows as the hook library finds them: the detection rule over
// the live window tree, and the few controls the subclass procedures work with besides those
// every side finds alike (util/DialogChildren.h).
#pragma once
#include <windows.h>

#include "hooklib/DialogRules.h"
#include "util/DialogChildren.h"

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

// The upper of exactly two ComboBox children (the folder box); 0 otherwise.
HWND FindFolderCombo(HWND dialog);
// The only selected item of a list view, or -1.
int GetSingleSelection(HWND listView);

}  // namespace vt::hook
