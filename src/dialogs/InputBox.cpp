#include "dialogs/InputBox.h"

#include "dialogs/FormWindow.h"

namespace vt {

namespace {

class InputForm final : public FormWindow {
 public:
  bool Open(HWND owner, const char* caption, const char* prompt, const std::string& initial) {
    if (!RegisterFormClass(kInputBoxClass) || !CreateForm(kInputBoxClass, caption, 340, 100, owner)) return false;
    Add(Handle(), "STATIC", prompt, SS_LEFT | SS_NOPREFIX, 8, 10, 320, 14);
    edit_ = Add(Handle(), "EDIT", initial.c_str(), ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 28, 324, 21, kInputBoxEdit);
    SendMessageA(edit_, EM_LIMITTEXT, 1024, 0);
    Add(Handle(), "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 176, 66, 75, 25, IDOK);
    Add(Handle(), "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 257, 66, 75, 25, IDCANCEL);
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(edit_);
    return true;
  }
  bool done = false;
  std::optional<std::string> result;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
          char text[1025] = {};
          GetWindowTextA(edit_, text, sizeof text);
          result = std::string(text);
          done = true;
        } else if (LOWORD(wp) == IDCANCEL) {
          done = true;
        }
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
      case WM_CLOSE:
        done = true;
        return 0;
    }
    return Default(msg, wp, lp);
  }
  HWND edit_ = nullptr;
};

}  // namespace

std::optional<std::string> InputBox(HWND owner, const char* caption, const char* prompt, const std::string& initial) {
  InputForm form;
  if (!form.Open(owner, caption, prompt, initial)) return std::nullopt;
  if (owner) EnableWindow(owner, FALSE);
  MSG m{};
  bool quit = false;
  while (!form.done && IsWindow(form.Handle())) {
    if (GetMessageA(&m, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    Window::DispatchSafely(m);
  }
  if (owner) EnableWindow(owner, TRUE);
  // The owner gets the activation back before the box goes, so nothing else comes forward.
  if (owner) SetActiveWindow(owner);
  if (quit) PostQuitMessage(static_cast<int>(m.wParam));
  return form.result;
}

}  // namespace vt
