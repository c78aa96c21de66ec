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

// The upper of exactly two ComboBox children (the folder box); 0 otherwise.
HWND FindFolderCombo(HWND dialog);
// The only selected item of a list view, or -1.
int GetSingleSelection(HWND listView);
// The file-name box under the name the hook library's entry points use.
inline HWND FindFileNameBox(HWND dialog) { return FileNameBoxOf(dialog); }

}  // namespace vt::hook
