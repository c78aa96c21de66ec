// Dragging one shell object out of a window: a data object that offers the object's
// identifier list (CFSTR_SHELLIDLIST) and the modal drag loop, ended by releasing the button
// that started it (a drop) or by Escape (a cancel).
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace vt {

// root: the folder the item's list is relative to (the Desktop root for an absolute list).
// button: MK_LBUTTON or MK_RBUTTON, the one held. The effect of the drop, DROPEFFECT_NONE
// when it was cancelled or the data could not be made.
DWORD RunShellDrag(LPCITEMIDLIST root, LPCITEMIDLIST item, DWORD effects, DWORD button);

}  // namespace vt
