// The controller's switchboard for dialogs: one panel per attached dialog through the lowest
// free slot, the release of a panel that has closed, and the watch over the frame metrics
// that the panels' geometry depends on.
#pragma once
#include <windows.h>

#include <set>
#include <string>

#include "controller/FrameWatch.h"
#include "hooklib/SharedBlock.h"
#include "panel/Replacer.h"

namespace vt {

// Handed to the panel under construction.
extern DialogSlot* PendingSlot;
extern std::string PendingAppName;

class PanelDispatcher {
 public:
  PanelDispatcher(SharedBlock& block, const PanelEnvironment& env) : Block(block), Env(env) {}
  ~PanelDispatcher();
  PanelDispatcher(const PanelDispatcher&) = delete;
  PanelDispatcher& operator=(const PanelDispatcher&) = delete;

  // VTCD_ATTACH: dialog window and the program's file name as the payload carried it.
  void Attach(HWND dialog, const void* text, DWORD size);
  // VTM_RELEASEPANEL: only a panel this dispatcher made is freed.
  void Release(WPARAM panel);
  // tmwatch: true when panels were told to close (the caller shows the message once).
  bool WatchTick();
  int OpenPanels() const { return static_cast<int>(Panels.size()); }

 private:
  SharedBlock& Block;
  PanelEnvironment Env;
  std::set<TVTReplacer*> Panels;
  FrameWatch Watch;
};

}  // namespace vt
