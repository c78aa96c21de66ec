// The companion panel: a top-level window owned by one file dialog, framing it so that the
// dialog's client area shows through the hole `pndlg` and the two move as one window. The
// form routes messages to its parts, each of which keeps its own state: the form and its
// layout, the link to the dialog, navigation and folder tracking, the per-program settings.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "kit/Window.h"
#include "panel/Commands.h"
#include "panel/DialogLink.h"
#include "panel/HotFolders.h"
#include "panel/Navigator.h"
#include "panel/PanelContext.h"
#include "panel/PanelForm.h"
#include "panel/PanelSettings.h"
#include "panel/Preview.h"

namespace vt {

inline constexpr char kPanelClass[] = "TVTReplacer";

class TVTReplacer final : public Window {
 public:
  static bool RegisterWindowClass();

  // Creates the panel's window (State 0) with the slot's dialog as owner window; null when
  // the window cannot be made.
  static std::unique_ptr<TVTReplacer> Create(const PanelEnvironment& env, DialogSlot& slot,
                                             const std::string& appName);
  ~TVTReplacer() override;

  HWND Dialog() const { return ctx_.dialog; }
  // Shows the panel and attaches it around the dialog.
  void Show();
  // The panel's last window rectangle, for the repaint after its release.
  RECT LastBounds() const { return link_.LastBounds(); }
  // True once the panel has given its slot back and asked to be freed.
  bool HasReleased() const { return released_; }
  // Closes the panel when its dialog's window is gone without a report (its program was
  // killed or crashed).
  void CloseIfDialogGone();
  // The number the controller knows this panel by, named in its release message.
  void SetPanelId(std::uint32_t id) { panelId_ = id; }

  void NavigateToFolder(std::string path) { navigator_.NavigateToFolder(std::move(path)); }
  void NavigateToLink(const std::string& linkPath) { navigator_.NavigateToLink(linkPath); }
  // The options dialog on a page: 0 "General" (the menu's "Main Options..."), 1 "QuickPanel"
  // (the hot list's "Options...").
  void ShowOptions(int page) { commands_.ShowOptions(page); }

 private:
  TVTReplacer(const PanelEnvironment& env, DialogSlot& slot, const std::string& appName);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT CopyData(WPARAM sender, const COPYDATASTRUCT* cds);
  bool FromOurDialog(WPARAM sender, UINT kind) const;
  void Layout();
  void CloseQuery();
  void ClosePanel();
  void Release();
  void ShowWithDialog(bool show);

  PanelContext ctx_;
  PanelForm form_;
  DialogLink link_{ctx_, form_};
  Navigator navigator_{ctx_};
  PanelSettings settings_{ctx_, form_, link_, navigator_};
  Preview preview_{ctx_, form_, settings_};
  PanelCommands commands_{ctx_, navigator_, settings_, preview_};
  HotFolders hot_{ctx_, navigator_, [this](int page) { ShowOptions(page); }};
  bool released_ = false;
  std::uint32_t panelId_ = 0;
  bool firstReport_ = false;
  static constexpr int kStartFolderRounds = 20;  // of tmOpFolder's 150 ms
  int startFolderRounds_ = 0;
};

}  // namespace vt
