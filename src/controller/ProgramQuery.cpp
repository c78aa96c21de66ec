#include "controller/ProgramQuery.h"

#include <windows.h>

#include "protocol/Messages.h"

namespace vt {

namespace {
BOOL CALLBACK PingWindow(HWND window, LPARAM) {
  if (window) PostMessageA(window, WM_NULL, kProgramQueryParam, 0);
  return TRUE;  // every window gets the query
}
}  // namespace

void PingAllWindows() { EnumWindows(PingWindow, 0); }

}  // namespace vt
