// The controller's switchboard for dialogs: one panel per attached dialog through the lowest
// free slot, the release of a panel that has closed, and the watch over the frame metrics
// that the panels' geometry depends on. It owns every panel from the attach report until the
// panel's release.
#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "controller/FrameWatch.h"
#include "panel/Replacer.h"
#include "protocol/SharedBlock.h"

namespace vt {

class PanelDispatcher {
 public:
  PanelDispatcher(SharedBlock& block, const PanelEnvironment& env) : Block(block), Env(env) {}
  ~PanelDispatcher();
  PanelDispatcher(const PanelDispatcher&) = delete;
  PanelDispatcher& operator=(const PanelDispatcher&) = delete;

  // VTCD_ATTACH: the dialog window and the program's file name, already decoded. An attach
  // that arrives while another panel is being made (its sends to its dialog let other sent
  // messages in), or while other messages wait in the queue, claims its slot and is made later,
  // from VTM_ATTACHLATER, in turn: attaches nested in one another would answer the first
  // program last, after its wait had ended, and panels made inside the attaches keep the thread
  // from its queue for as long as programs keep opening dialogs.
  void Attach(HWND dialog, std::string_view appName);
  // VTM_ATTACHLATER: the panels of the attaches put off, oldest first.
  void AttachLater();
  // VTM_RELEASEPANEL: only a panel this dispatcher made, and only once it has closed, is freed.
  void Release(WPARAM panel);
  // tmwatch: true when panels were told to close (the caller shows the message once).
  bool WatchTick();

 private:
  struct PutOff {
    int slot;
    std::uint32_t dialog;
    std::string appName;
  };
  bool Attachable(HWND dialog) const;
  std::uint32_t Claimed() const;  // one bit a slot
  static bool QueueWaiting();
  void MakePanel(int slot, const std::string& appName);
  // Panels whose dialog's program ended without a report give their slots back at once (their
  // own scan timer may not have come round: a new dialog must not go without its panel).
  void CloseDialogless();

  SharedBlock& Block;
  PanelEnvironment Env;
  // Keyed by the panel's number, the value a release names: it is looked up, never used.
  std::map<std::uint32_t, std::unique_ptr<TVTReplacer>> Panels;
  std::uint32_t NextId = 1;  // 0 means none
  int MakingSlot = -1;  // the slot of the panel being made further up the stack, if any
  std::deque<PutOff> Later;
  FrameWatch Watch;
};

}  // namespace vt
