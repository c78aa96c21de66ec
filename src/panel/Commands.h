// The panel's menu commands: open the dialog's folder in a shell window, start the shell's
// search there, the options dialog (which this part owns while it is open, and for which it
// stands as the panel), help, and what the controller does for every panel alike (startup
// options, web site, about box).
#pragma once
#include <windows.h>

#include <memory>

#include "dialogs/Options.h"
#include "dialogs/OptionsTarget.h"
#include "panel/Navigator.h"
#include "panel/PanelContext.h"
#include "panel/PanelSettings.h"
#include "panel/Preview.h"

namespace vt {

class PanelCommands final : public OptionsTarget {
 public:
  PanelCommands(PanelContext& ctx, Navigator& navigator, PanelSettings& settings, Preview& preview)
      : ctx_(ctx), navigator_(navigator), settings_(settings), preview_(preview) {}
  ~PanelCommands();
  PanelCommands(const PanelCommands&) = delete;
  PanelCommands& operator=(const PanelCommands&) = delete;

  // A menu command (PanelCommand); other numbers do nothing.
  void Run(UINT id);
  // Opens the options dialog on a page (0 General, 1 QuickPanel, 2 Preview Panel) with the
  // panel, and through it the dialog, disabled until it closes.
  void ShowOptions(int page);
  // VTM_OPTIONSCLOSED, the panel's own post: the dialog goes and the panel comes back.
  void OptionsClosedArrived();

  // OptionsTarget
  HWND OptionsOwner() const override { return ctx_.dialog; }
  const std::string& OptionsAppName() const override { return ctx_.appName; }
  TQRegistry& OptionsRegistry() const override { return *ctx_.env.registry; }
  std::string HelpFile() const override;
  PanelOptions CurrentOptions() const override { return settings_.CurrentOptions(); }
  void ApplyOptions(const PanelOptions& options) override {
    settings_.ApplyOptions(options);
    preview_.Layout();  // the column may have been switched on
  }
  void OptionsClosed() override;

 private:
  void nnExplorerClick();
  void nnFileSearchClick();
  void Request(PanelRequest request) const;

  PanelContext& ctx_;
  Navigator& navigator_;
  PanelSettings& settings_;
  Preview& preview_;
  std::unique_ptr<TVTOptions> options_;
};

}  // namespace vt
