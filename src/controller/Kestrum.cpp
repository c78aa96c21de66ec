// Kestrum.exe: one resident instance per user. A second start ends at the mutex, silently;
// the first creates the hidden main form (which runs the start-up) and serves its messages
// until the form closes.
#include <windows.h>
#include <ole2.h>

#include "controller/MainForm.h"
#include "settings/Product.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The handle is never closed: the mutex marks this instance until the process ends.
  SetLastError(0);
  HANDLE mutex = CreateMutexA(nullptr, TRUE, vt::kMutexName);
  if (!mutex || GetLastError() != 0) return 0;

  // Shell links and shell drag and drop need OLE on this, the only user-interface thread.
  OleInitialize(nullptr);
  int code = 1;
  {
    std::unique_ptr<vt::TVantrel> form = vt::TVantrel::Create(instance);
    if (form) {
      // The form stays hidden; its window only receives messages.
      MSG m{};
      while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        vt::Window::DispatchSafely(m);
      }
      code = static_cast<int>(m.wParam);
    }
  }
  OleUninitialize();
  return code;
}
