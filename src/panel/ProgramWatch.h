// The end of the dialog's program, seen at once: a wait of the system's thread pool on its
// process posts the panel a message. The panel's scan timer would see the dialog gone too, but
// a thread's timers can come late (under Wine for seconds after a program was killed), and the
// slot stays taken meanwhile.
#pragma once
#include <windows.h>

#include "util/Handles.h"

namespace vt {

class ProgramWatch {
 public:
  ProgramWatch() = default;
  ~ProgramWatch() { Stop(); }
  ProgramWatch(const ProgramWatch&) = delete;
  ProgramWatch& operator=(const ProgramWatch&) = delete;

  // Watches the process of `dialog`: when it ends, `panel` (a window of the window base) is
  // posted VTM_PROGRAMENDED with its key. False when the process cannot be watched.
  bool Start(HWND dialog, HWND panel);
  // No post after this returns; a callback under way is waited for (it only posts).
  void Stop();

 private:
  static void CALLBACK Ended(void* panel, BOOLEAN timedOut);

  UniqueKernelHandle process_;
  UniqueWait wait_;
};

}  // namespace vt
