#include "panel/ProgramWatch.h"

#include "kit/Window.h"
#include "protocol/Messages.h"

namespace vt {

bool ProgramWatch::Start(HWND dialog, HWND panel) {
  Stop();
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(dialog, &pid) || !pid) return false;
  process_.reset(OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!process_) return false;
  HANDLE wait = nullptr;
  if (!RegisterWaitForSingleObject(&wait, process_.get(), Ended, panel, INFINITE, WT_EXECUTEONLYONCE)) {
    process_.reset();
    return false;
  }
  wait_.reset(wait);
  return true;
}

void ProgramWatch::Stop() {
  wait_.reset();  // first: the callback must not outlive what it posts to
  process_.reset();
}

void CALLBACK ProgramWatch::Ended(void* panel, BOOLEAN) {
  Window::PostToWindowOf(static_cast<HWND>(panel), VTM_PROGRAMENDED, 0);
}

}  // namespace vt
