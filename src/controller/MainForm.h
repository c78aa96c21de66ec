// TVantrel: the resident program's hidden main form. Its window (class "TVantrel") is what
// hook instances look for; creating the form runs the whole start-up sequence, closing it
// (the tray's Exit) runs the close query and the way out.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "controller/Dispatch.h"
#include "controller/ProgramList.h"
#include "controller/SharedMapping.h"
#include "controller/TrayMenus.h"
#include "dialogs/About.h"
#include "dialogs/Startup.h"
#include "kit/Window.h"
#include "util/AnsiText.h"
#include "util/Handles.h"

namespace vt {

class TVantrel final : public Window {
 public:
  // Design size of the form; it is placed in the bottom right corner of the screen.
  static constexpr int kFormWidth = 222;
  static constexpr int kFormHeight = 160;

  // Creates the window and runs the start-up sequence. Null when the program must end (the
  // hook library could not be loaded; its message has been shown).
  static std::unique_ptr<TVantrel> Create(HINSTANCE instance);
  ~TVantrel() override;

  // Ignore list from the settings store into the shared block, the block's one writer of it;
  // lent to the startup options window, which calls it when shown and after storing a list.
  void ReloadIgnoreList();
  // "?AutoRun" as 1 or 0 and the Run value set or removed to match.
  void SetAutoRun(bool on);
  // The product's web site, and a new mail to support, through the shell.
  void OpenWebSite();
  void OpenSupportMail();

  // The startup options window and the about box, one of each per process, made on first
  // use; shown, or brought to the front when visible. Help opens the overview topic.
  // (MainFormDialogs.cpp)
  void ShowStartupOptions();
  void ShowHelp();
  void ShowAbout();

  // True when the program may quit; otherwise shows why not.
  bool CloseQuery();

 private:
  explicit TVantrel(HINSTANCE instance) : instance_(instance) {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool CreateWindowOfForm();
  bool FormCreate();
  void FormClose();
  // window: the dialog for an attach, the queried window for a program report.
  void CopyData(HWND window, const COPYDATASTRUCT* data);
  // Every 500 ms: shows the form in debug mode; closes the panels when the window frame
  // metrics change, since their layout depends on them.
  void tmwatchTimer();
  void PanelRequested(PanelRequest request);

  HINSTANCE instance_;
  UINT taskbarCreated_ = 0;
  UINT gdiCensus_ = 0;  // the test build's census question, when switched on
  SharedMapping shared_;
  std::unique_ptr<PanelDispatcher> dispatcher_;  // exists while the block does
  std::unique_ptr<TrayMenus> tray_;
  HMODULE hookLibrary_ = nullptr;  // stays loaded: hook procedures may run in this process
  ProgramList runningPrograms_{AnsiUpperCase};
  std::string ownProgramPath_;
  bool closed_ = false;
  bool refusing_ = false;
  std::unique_ptr<TVTStartup> startup_;
  std::unique_ptr<TVTAbout> about_;
};

}  // namespace vt
