// TVTStartup: the "Startup Options" window. It edits whether the program starts with Windows
// and the ignore list (programs whose file dialogs get no panel), picking names from the
// programs running now or taking typed ones. OK writes the list to the settings store and has
// the controller put it into the shared block, where the hook library reads it at the next
// dialog; Cancel writes nothing.
// One window per process, kept hidden between showings; every showing reloads it.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/FormWindow.h"
#include "protocol/SharedBlock.h"
#include "settings/QRegistry.h"

namespace vt {

inline constexpr char kStartupClass[] = "TVTStartup";

// Control ids.
namespace startup_ids {
enum : int {
  nbok = IDOK, nbcancel = IDCANCEL, nbHelp = 100, sbAdd, sbDel, sbaddstr, sbRefresh, cbautorun, lbrunning, lbignore,
};
}  // namespace startup_ids

// What the controller lends the window.
struct StartupEnvironment {
  TQRegistry* registry = nullptr;
  const SharedBlock* block = nullptr;  // the list the hook library reads; none: the stored one
  std::string helpFile;
  std::function<void()> reloadIgnoreList;  // registry into the shared block
  std::function<void(bool)> setAutoRun;
  // Empties the running-program list and asks every program to report itself again.
  std::function<void()> queryRunningPrograms;
  std::function<std::vector<std::string>()> runningPrograms;
};

class TVTStartup final : public FormWindow {
 public:
  static std::unique_ptr<TVTStartup> Create(StartupEnvironment env);
  ~TVTStartup() override;

  // Reloads and shows the window, or brings it to the front when it is visible.
  void ShowOrFront();

 private:
  explicit TVTStartup(StartupEnvironment env) : env_(std::move(env)) {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void CreateComponents();
  void FormShow();
  void sbrefreshClick();
  void tmTimer();
  void sbaddClick();
  void sbaddstrClick();
  void sbdelClick();
  void nbokClick();
  void Add(const std::string& entry);
  void FillIgnoreBox();
  void Close() { ShowWindow(Handle(), SW_HIDE); }

  StartupEnvironment env_;
  std::vector<std::string> entries_;  // lbignore, in order
  HWND lbrunning_ = nullptr, lbignore_ = nullptr, cbautorun_ = nullptr;
};

}  // namespace vt
