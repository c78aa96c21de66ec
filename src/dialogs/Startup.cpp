#include "dialogs/Startup.h"

#include <algorithm>
#include <cstring>

#include "dialogs/DialogRules.h"
#include "dialogs/InputBox.h"
#include "protocol/IgnoreList.h"
#include "settings/Catalogue.h"
#include "settings/Product.h"
#include "util/AnsiText.h"
#include "util/HtmlHelp.h"

namespace vt {

namespace {
using namespace startup_ids;
constexpr UINT_PTR tm = 1;
constexpr UINT kRefreshDelay = 500;
}  // namespace

std::unique_ptr<TVTStartup> TVTStartup::Create(StartupEnvironment env) {
  std::unique_ptr<TVTStartup> form(new TVTStartup(std::move(env)));
  if (!RegisterFormClass(kStartupClass) || !form->CreateForm(kStartupClass, "Startup Options", 478, 273, nullptr))
    return nullptr;
  form->CreateComponents();
  return form;
}

TVTStartup::~TVTStartup() { DestroyQuietly(); }

void TVTStartup::CreateComponents() {
  HWND f = Handle();
  FormWindow::Add(f, "BUTTON", "Ignore Programs List", BS_GROUPBOX, 8, 4, 462, 214);
  FormWindow::Add(f, "STATIC", "Running programs:", SS_CENTER, 16, 24, 193, 14);
  const DWORD list = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER;
  lbrunning_ = FormWindow::Add(f, "LISTBOX", "", list, 16, 42, 193, 145, lbrunning);
  FormWindow::Add(f, "STATIC", "Don't use Vantrel \r\nin these programs:", SS_CENTER, 268, 14, 194, 28);
  lbignore_ = FormWindow::Add(f, "LISTBOX", "", list, 268, 42, 194, 145, lbignore);
  FormWindow::Add(f, "BUTTON", ">>", BS_PUSHBUTTON, 216, 62, 45, 25, sbAdd);
  FormWindow::Add(f, "BUTTON", "<<", BS_PUSHBUTTON, 216, 94, 45, 25, sbDel);
  FormWindow::Add(f, "BUTTON", ">>", BS_PUSHBUTTON, 216, 160, 45, 25, sbaddstr);
  FormWindow::Add(f, "BUTTON", "Refresh", BS_PUSHBUTTON, 16, 190, 75, 22, sbRefresh);
  cbautorun_ = FormWindow::Add(f, "BUTTON", "Start Vantrel when Windows starts", BS_AUTOCHECKBOX | WS_TABSTOP, 12, 226,
                               300, 17, cbautorun);
  FormWindow::Add(f, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 232, 244, 75, 25, nbok);
  FormWindow::Add(f, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 313, 244, 75, 25, nbcancel);
  FormWindow::Add(f, "BUTTON", "Help", BS_PUSHBUTTON | WS_TABSTOP, 394, 244, 75, 25, nbHelp);
}

void TVTStartup::ShowOrFront() {
  if (IsWindowVisible(Handle())) {
    SetForegroundWindow(Handle());
    return;
  }
  FormShow();
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

void TVTStartup::FormShow() {
  if (env_.reloadIgnoreList) env_.reloadIgnoreList();
  // What the hook library reads, not the stored list: it holds at most 50 names.
  entries_ = env_.block ? ReadIgnoreList(*env_.block) : ReadIgnoreNames(*env_.registry);
  if (entries_.size() > kMaxIgnoreEntries) entries_.resize(kMaxIgnoreEntries);
  FillIgnoreBox();
  const auto autoRun = ReadAutoRun(*env_.registry);
  SetChecked(cbautorun_, !autoRun || *autoRun != 0);
  sbrefreshClick();
}

void TVTStartup::FillIgnoreBox() {
  SendMessageA(lbignore_, LB_RESETCONTENT, 0, 0);
  for (const std::string& e : entries_) SendMessageA(lbignore_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
}

void TVTStartup::sbrefreshClick() {
  if (env_.queryRunningPrograms) env_.queryRunningPrograms();
  SetTimer(Handle(), tm, kRefreshDelay, nullptr);
}

void TVTStartup::tmTimer() {
  KillTimer(Handle(), tm);
  SendMessageA(lbrunning_, LB_RESETCONTENT, 0, 0);
  int widest = 0;
  WindowDc dc(lbrunning_);
  Selected font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(lbrunning_, WM_GETFONT, 0, 0)));
  for (const std::string& path : env_.runningPrograms ? env_.runningPrograms() : std::vector<std::string>{}) {
    SendMessageA(lbrunning_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), path.c_str(), static_cast<int>(path.size()), &size);
    widest = std::max<int>(widest, size.cx);
  }
  SendMessageA(lbrunning_, LB_SETHORIZONTALEXTENT, widest + 2, 0);
}

void TVTStartup::Add(const std::string& entry) {
  const AddOutcome outcome = AddIgnoreEntry(entries_, entry);
  if (outcome == AddOutcome::Added) {
    SendMessageA(lbignore_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  } else if (const char* message = AddOutcomeMessage(outcome)) {
    MessageBoxA(Handle(), message, kApplicationTitle, MB_OK);
  }
}

void TVTStartup::sbaddClick() {
  const LRESULT index = SendMessageA(lbrunning_, LB_GETCURSEL, 0, 0);
  if (index < 0) return;
  const LRESULT length = SendMessageA(lbrunning_, LB_GETTEXTLEN, index, 0);
  if (length <= 0) return;
  std::string path(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(lbrunning_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(path.data()));
  path.resize(std::strlen(path.c_str()));
  Add(IgnoreEntryFromPath(path, AnsiUpperCase));
}

void TVTStartup::sbaddstrClick() {
  const auto text = InputBox(Handle(), "Ignore Application", "File name:", "");
  if (text && !text->empty()) Add(IgnoreEntryTyped(*text, AnsiUpperCase));
}

void TVTStartup::sbdelClick() {
  const LRESULT index = SendMessageA(lbignore_, LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
  entries_.erase(entries_.begin() + index);
  SendMessageA(lbignore_, LB_DELETESTRING, index, 0);
}

void TVTStartup::nbokClick() {
  WriteIgnoreNames(*env_.registry, entries_);
  // The controller puts the stored list into the shared block: the hook library honours it
  // from the next dialog on.
  if (env_.reloadIgnoreList) env_.reloadIgnoreList();
  if (env_.setAutoRun) env_.setAutoRun(Checked(cbautorun_));
}

LRESULT TVTStartup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case nbok: nbokClick(); Close(); break;
        case nbcancel: Close(); break;
        case nbHelp: ShowHelpTopic(env_.helpFile, kTopicStartup); break;
        case sbAdd: sbaddClick(); break;
        case sbDel: sbdelClick(); break;
        case sbaddstr: sbaddstrClick(); break;
        case sbRefresh: sbrefreshClick(); break;
      }
      return 0;
    case WM_TIMER:
      if (wp == tm) tmTimer();
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
      Close();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vt
