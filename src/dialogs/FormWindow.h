// What the settings dialogs and the about box share: a fixed-size top-level window with only
// the system-menu button, centred on the screen with an exact client area, the form's font,
// and child controls made in one call.
#pragma once
#include <windows.h>

#include "kit/Window.h"
#include "util/Handles.h"

namespace vt {

class FormWindow : public Window {
 protected:
  static bool RegisterFormClass(const char* name);
  // A hidden window whose client area is width x height, centred on the screen; owner may be
  // null. The form font is "MS Sans Serif" with a character height of 11 pixels.
  bool CreateForm(const char* className, const char* caption, int width, int height, HWND owner);

  // A visible child with the form font (bold when asked).
  HWND Add(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id = 0,
           bool bold = false);
  HFONT Font() const { return font_.get(); }

  // Controls send their notifications from this thread; a pointer in a message that another
  // thread sent (or posted) is never read.
  static bool SentByOwnThread() { return !InSendMessage(); }

  // A check box or radio button's state.
  static bool Checked(HWND button);
  static void SetChecked(HWND button, bool on);

 private:
  UniqueFont font_, bold_;
};

// A one-pixel black frame around r.
void FrameBlack(HDC dc, const RECT& r);

}  // namespace vt
