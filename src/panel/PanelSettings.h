// The per-program settings of one panel: read when it attaches (layout, place, start-folder
// rule, preview switches, the hot list's looks), written when it closes.
#pragma once
#include <windows.h>

#include "dialogs/OptionsTarget.h"
#include "panel/DialogLink.h"
#include "panel/Navigator.h"
#include "panel/PanelContext.h"
#include "panel/PanelForm.h"
#include "panel/PreviewChoice.h"
#include "settings/Catalogue.h"
#include "util/Handles.h"

namespace vt {

class PanelSettings {
 public:
  PanelSettings(PanelContext& ctx, PanelForm& form, DialogLink& link, Navigator& navigator)
      : ctx_(ctx), form_(form), link_(link), navigator_(navigator) {}

  // The program's stored settings, read once before the window is made so that it is made at
  // its stored size: every later change of size lays all the panel's windows out again.
  void Read();
  Size StoredSize() const { return Size{stored_.width, stored_.height}; }
  void Load();
  void Save();

  int OpMode() const { return opMode_; }
  PreviewSwitches Switches() const { return {viewBmp_, viewJpg_, viewGif_}; }

  // What the options dialog starts from, and its values applied at once.
  PanelOptions CurrentOptions() const;
  void ApplyOptions(const PanelOptions& options);

 private:
  void ApplyHotListLooks(const HotListLooks& looks);

  PanelContext& ctx_;
  PanelForm& form_;
  DialogLink& link_;
  Navigator& navigator_;
  AppSettings stored_;  // as read when the panel was made
  int opMode_ = 1;
  bool viewBmp_ = true, viewJpg_ = true, viewGif_ = true;
  UniqueFont hotFont_;  // the list's font while the panel lives
  HotListLooks looks_;  // as stored: colours keep their system colour references
};

}  // namespace vt
