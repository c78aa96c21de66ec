#include "panel/Commands.h"

#include <shellapi.h>
#include <shlobj.h>

#include "dialogs/DialogRules.h"
#include "kit/DdeClient.h"
#include "panel/PanelForm.h"
#include "protocol/Messages.h"
#include "util/HtmlHelp.h"
#include "util/ShellOpen.h"

namespace vt {

namespace {

void BottomOfZOrder(HWND w) {
  SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

PanelCommands::~PanelCommands() = default;

std::string PanelCommands::HelpFile() const { return ctx_.env.programFolder + kHelpFileName; }

void PanelCommands::Request(PanelRequest request) const {
  if (ctx_.env.request) ctx_.env.request(request);
}

void PanelCommands::Run(UINT id) {
  switch (id) {
    case kCmdExplorer: nnExplorerClick(); break;
    case kCmdClose: PostMessageA(ctx_.Wnd(), WM_CLOSE, 0, 0); break;
    case kCmdFileSearch: nnFileSearchClick(); break;
    case kCmdMainOptions: ShowOptions(kPageGeneral); break;
    case kCmdStartupOptions: Request(PanelRequest::StartupOptions); break;
    case kCmdContents: ShowHelpTopic(HelpFile(), kTopicOverview); break;
    case kCmdVisitSite: Request(PanelRequest::WebSite); break;
    case kCmdAbout: Request(PanelRequest::About); break;
    default: break;
  }
}

void PanelCommands::nnExplorerClick() {
  if (LPCITEMIDLIST folder = navigator_.CurrentFolder()) OpenInShellWindow(folder);
}

void PanelCommands::nnFileSearchClick() {
  BottomOfZOrder(ctx_.Wnd());
  char path[MAX_PATH] = {};
  LPCITEMIDLIST folder = navigator_.CurrentFolder();
  if (folder && !SHGetPathFromIDListA(folder, path)) path[0] = 0;
  const std::string command = std::string("[FindFolder(, ") + path + ")]";
  {
    DdeConversation explorer("Folders", "AppProperties", "explorer.exe");
    if (explorer.Open()) {
      explorer.ExecuteAsync(command);
    } else if (folder) {
      // No such service (Wine's shell has none): the folder's own "find" verb, and where the
      // shell has no search either, the folder itself in a shell window.
      SHELLEXECUTEINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = SEE_MASK_IDLIST | SEE_MASK_FLAG_NO_UI;
      info.lpVerb = "find";
      info.nShow = SW_SHOW;
      info.lpIDList = const_cast<LPITEMIDLIST>(folder);
      if (!ShellExecuteExA(&info)) OpenInShellWindow(folder);
    }
  }
  BottomOfZOrder(ctx_.Wnd());
}

void PanelCommands::ShowOptions(int page) {
  if (options_) {
    SetForegroundWindow(options_->Handle());
    return;
  }
  // Disabling the panel disables the dialog with it (WM_ENABLE).
  EnableWindow(ctx_.Wnd(), FALSE);
  options_ = TVTOptions::Create(*this, page);
  if (!options_) EnableWindow(ctx_.Wnd(), TRUE);
}

void PanelCommands::OptionsClosed() { ctx_.Post(VTM_OPTIONSCLOSED, 0); }

void PanelCommands::OptionsClosedArrived() {
  if (!options_) return;
  Window::Retire(std::move(options_));
  if (!ctx_.Active()) return;
  EnableWindow(ctx_.Wnd(), TRUE);
  SetForegroundWindow(ctx_.Wnd());
}

}  // namespace vt
