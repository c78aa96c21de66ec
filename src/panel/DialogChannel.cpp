#include "panel/DialogChannel.h"

#include "kit/Window.h"
#include "protocol/Messages.h"

namespace vt {

void DialogChannel::Attach(HWND panel, HWND dialog) {
  panel_ = panel;
  dialog_ = dialog;
}

bool DialogChannel::SendTo(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!answering_ || !window) return false;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerMs, &answer)) {
    if (IsWindow(window)) {
      answering_ = false;
      Probe();
    }
    return false;
  }
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

// The answer comes back through this thread's queue whenever the dialog's thread runs again.
void DialogChannel::Probe() {
  if (probing_) return;
  probing_ = SendMessageCallbackA(dialog_, WM_NULL, 0, 0, ProbeAnswered, reinterpret_cast<ULONG_PTR>(panel_)) != FALSE;
}

void CALLBACK DialogChannel::ProbeAnswered(HWND, UINT, ULONG_PTR panel, LRESULT) {
  // The data is the handle this process gave the call; the panel may be gone by now.
  Window::PostToWindowOf(reinterpret_cast<HWND>(panel), VTM_DIALOGANSWERS, 0);
}

void DialogChannel::Answered() {
  probing_ = false;
  answering_ = true;
}

}  // namespace vt
