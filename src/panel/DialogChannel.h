// Everything the panel sends to its dialog, whose program can stop answering at any moment (a
// long save, a debugger, a deadlock) while one thread serves every panel. Each send waits at
// most kAnswerMs; once one goes unanswered, nothing more is sent until the dialog answers a
// probe that costs no wait. Moves of the dialog are asynchronous and need no answer.
#pragma once
#include <windows.h>

namespace vt {

class DialogChannel {
 public:
  // A second is far beyond any answer of a working dialog (a few milliseconds) and short
  // enough that the first stall of a hung one is a hiccup, not a freeze.
  static constexpr UINT kAnswerMs = 1000;

  // `panel` receives VTM_DIALOGANSWERS (as its own post) when a probe is answered.
  void Attach(HWND panel, HWND dialog);

  // False, at once, while the dialog is known not to answer.
  bool Send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
    return SendTo(dialog_, msg, wParam, lParam, result);
  }
  // The same to one of the dialog's children, which its program's threads serve alike.
  bool SendTo(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
  bool Answering() const { return answering_; }
  // The probe's answer arrived: the dialog works again.
  void Answered();

 private:
  void Probe();
  static void CALLBACK ProbeAnswered(HWND, UINT, ULONG_PTR panel, LRESULT);

  HWND panel_ = nullptr, dialog_ = nullptr;
  bool answering_ = true, probing_ = false;
};

}  // namespace vt
