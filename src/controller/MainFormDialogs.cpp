// The resident program's own dialogs and help: the startup options window and the about box,
// one of each per process, made on first use and kept until the program ends, and the help
// file's overview. Panels reach them through their environment's requests.
#include "controller/MainForm.h"

#include "controller/AppGlobals.h"
#include "controller/ProgramQuery.h"
#include "dialogs/DialogRules.h"
#include "settings/Product.h"
#include "util/HtmlHelp.h"

namespace vt {

void TVantrel::ShowStartupOptions() {
  if (!startup_) {
    StartupEnvironment env;
    env.registry = &AppRegistry();
    env.block = shared_.get();
    env.helpFile = ProgramFolder() + kHelpFileName;
    env.reloadIgnoreList = [this] { ReloadIgnoreList(); };
    env.setAutoRun = [this](bool on) { SetAutoRun(on); };
    env.queryRunningPrograms = [this] {
      runningPrograms_.Clear();
      PingAllWindows();
    };
    env.runningPrograms = [this] { return runningPrograms_.Items(); };
    startup_ = TVTStartup::Create(std::move(env));
  }
  if (startup_) startup_->ShowOrFront();
}

void TVantrel::ShowHelp() { ShowHelpTopic(ProgramFolder() + kHelpFileName, kTopicOverview); }

void TVantrel::ShowAbout() {
  if (!about_) {
    AboutEnvironment env;
    env.productCaption = ProductCaption();
    env.supportAddress = kSupportAddress;
    env.openWebSite = [this] { OpenWebSite(); };
    env.openSupportMail = [this] { OpenSupportMail(); };
    about_ = TVTAbout::Create(std::move(env));
  }
  if (about_) about_->ShowOrFront();
}

void TVantrel::PanelRequested(PanelRequest request) {
  switch (request) {
    case PanelRequest::StartupOptions: ShowStartupOptions(); break;
    case PanelRequest::About: ShowAbout(); break;
    case PanelRequest::WebSite: OpenWebSite(); break;
  }
}

}  // namespace vt
