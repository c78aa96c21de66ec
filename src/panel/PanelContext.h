// What every part of one panel shares: the controller's loan, the dialog's slot, the program's
// name, and the two windows. The form fills in the windows; the parts only read them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "kit/Window.h"
#include "panel/DialogChannel.h"
#include "protocol/SharedBlock.h"
#include "settings/QRegistry.h"

namespace vt {

// What a panel asks of the controller, which serves every panel alike.
enum class PanelRequest { StartupOptions, About, WebSite };

// What the controller lends every panel.
struct PanelEnvironment {
  HWND controller = nullptr;       // receives VTM_RELEASEPANEL
  TQRegistry* registry = nullptr;  // AppRegistry
  std::string programFolder;       // with its trailing backslash
  bool debugMode = false;
  std::function<void(PanelRequest)> request;
};

struct PanelContext {
  PanelContext(const PanelEnvironment& e, DialogSlot& s, const std::string& name, Window& w)
      : env(e), slot(s), appName(name), window(w) {}

  PanelEnvironment env;
  DialogSlot& slot;
  std::string appName;
  Window& window;          // the panel: its handle and its self-posts
  HWND dialog = nullptr;   // the attached file dialog (never ours to destroy)
  bool closing = false;    // the panel is on its way out: waits end, nothing new starts
  DialogChannel channel;   // every send to the dialog and its children goes through it

  HWND Wnd() const { return window.Handle(); }
  bool Active() const { return slot.State == kSlotActive; }
  bool Maximized() const { return Wnd() && (GetWindowLongA(Wnd(), GWL_STYLE) & WS_MAXIMIZE) != 0; }
  bool Post(UINT msg, WPARAM wParam = 0) const { return window.PostToSelf(msg, wParam); }
};

}  // namespace vt
