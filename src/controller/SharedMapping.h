// The controller's side of the shared block "VantrelSharedVars": created (or opened, when
// hook instances of an earlier run still hold it), mapped whole and cleared at start-up.
#pragma once
#include <windows.h>

#include "protocol/SharedBlock.h"
#include "util/Handles.h"

namespace vt {

class SharedMapping {
 public:

  // Creates and maps the block and fills it with zeros. Null when it cannot be had whole: a
  // mapping of that name that is smaller (made by someone else) is not used, so that nothing
  // is ever written past its end.
  SharedBlock* Create();
  SharedBlock* get() const { return static_cast<SharedBlock*>(view_.get()); }
  // Unmaps the view and closes the mapping handle.
  void Close();

 private:
  // The view goes before the mapping.
  UniqueKernelHandle mapping_;
  UniqueView view_;
};

}  // namespace vt
