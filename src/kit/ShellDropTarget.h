// A window that accepts shell objects dropped on it (OLE drag and drop of identifier lists,
// CFSTR_SHELLIDLIST). The data is read when the drag enters; the window's owner decides the
// effect while it moves and what a drop does.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "kit/ShellIdArray.h"
#include "util/Handles.h"

namespace vt {

struct ShellDropData {
  // Index 0 the parent folder, 1..n the dropped objects' absolute lists; empty when the data
  // holds no identifier lists (or damaged ones).
  std::vector<IdListBytes> lists;
  // One per object (object k at k - 1); empty for an object without a file-system path.
  std::vector<std::string> paths;

  int ListCount() const { return static_cast<int>(lists.size()); }
};

class ShellDropSink {
 public:
  // The effect to show (DROPEFFECT_*) for the pointer at `client` (the window's coordinates).
  virtual DWORD DropTargetDragOver(const ShellDropData& data, POINT client) = 0;
  // The drop itself; the effect that was performed.
  virtual DWORD DropTargetDrop(const ShellDropData& data, POINT client) = 0;

 protected:
  ~ShellDropSink() = default;
};

class ShellDropTarget {
 public:
  // Registers the window as a drop target (OLE must be initialised on this thread); null
  // when the system refuses. The sink must outlive the returned object.
  static std::unique_ptr<ShellDropTarget> Register(HWND window, ShellDropSink& sink);
  ~ShellDropTarget();
  ShellDropTarget(const ShellDropTarget&) = delete;
  ShellDropTarget& operator=(const ShellDropTarget&) = delete;

  class Object;

 private:
  ShellDropTarget(HWND window, Object* object);
  HWND window_;
  ComPtr<Object> object_;  // held until the registration is revoked
};

}  // namespace vt
