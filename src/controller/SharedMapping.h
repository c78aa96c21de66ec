// The controller's side of the shared block "VantrelSharedVars": created (or opened, when
// hook instances of an earlier run still hold it), mapped whole and cleared at start-up.
#pragma once
#include <windows.h>

#include "hooklib/SharedBlock.h"

namespace vt {

class SharedMapping {
 public:
  SharedMapping() = default;
  ~SharedMapping() { Close(); }
  SharedMapping(const SharedMapping&) = delete;
  SharedMapping& operator=(const SharedMapping&) = delete;

  // Creates and maps the block and fills it with zeros. Null when it cannot be had whole: a
  // mapping of that name that is smaller (made by someone else) is not used, so that nothing
  // is ever written past its end.
  SharedBlock* Create();
  SharedBlock* get() const { return view_; }
  // Unmaps the view and closes the mapping handle.
  void Close();

 private:
  HANDLE mapping_ = nullptr;
  SharedBlock* view_ = nullptr;
};

}  // namespace vt
