// The panel's commands and the resident program's dialogs end to end: the real Kestrum.exe and
// hook library, real Open dialogs of small clients, and the options, startup and about windows
// driven through their controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>

#include "dialogs/About.h"
#include "dialogs/InputBox.h"
#include "dialogs/Options.h"
#include "dialogs/Startup.h"
#include "panel/PanelForm.h"
#include "protocol/IgnoreList.h"
#include "support/DialogDriver.h"

using namespace vtt;
using namespace vt::options_ids;
using vt::kCmdAbout, vt::kCmdContents, vt::kCmdExplorer, vt::kCmdMainOptions, vt::kCmdStartupOptions;
namespace startup_ids = vt::startup_ids;

namespace {

std::string Upper(std::string s) {
  CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::set<HWND> ForeignWindows(const std::set<DWORD>& ours) {
  std::set<HWND> out;
  for (HWND w : TopWindows(0, nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (IsWindowVisible(w) && !ours.count(pid) && pid != GetCurrentProcessId()) out.insert(w);
  }
  return out;
}

class Dialogs : public Panel {
 protected:
  HWND PanelOf(Client& c) { return c.WaitDialog() ? c.WaitPanel() : nullptr; }
  DWORD Pid() const { return controller_.Id(); }
  // The window of the controller that a panel command opens.
  HWND Opened(HWND panel, UINT command, const char* cls) {
    PanelCommand(panel, command);
    return WaitWindowOf(Pid(), cls);
  }

  // The real colour chooser: the options' "Change" of the background, the value typed into
  // its red, green and blue boxes, OK.
  void PickBackground(HWND options, int r, int g, int b) {
    Click(options, bkHotColor);
    HWND chooser = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      chooser = TopWindow(Pid(), "#32770");
      return chooser && GetWindow(chooser, GW_OWNER) == options && IsWindowVisible(chooser);
    }, kWait));
    const int values[] = {r, g, b};
    for (int i = 0; i < 3; ++i)
      SendMessageA(GetDlgItem(chooser, 706 + i), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(std::to_string(values[i]).c_str()));
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }, kWait));
  }
};

TEST_F(Dialogs, MainOptionsOpenOnGeneralWithTheDialogHeldAndOkStoresAndApplies) {
  StartController();
  Client& c = Open("OptA.exe");
  HWND panel = PanelOf(c);
  ASSERT_TRUE(panel);
  const int holeBefore = Width(HoleOf(panel));
  HWND options = Opened(panel, kCmdMainOptions, vt::kOptionsClass);
  ASSERT_TRUE(options);
  EXPECT_EQ(GetWindow(options, GW_OWNER), c.Dialog());
  EXPECT_EQ(SendMessageA(Item(options, pc), TCM_GETCURSEL, 0, 0), vt::kPageGeneral);
  EXPECT_FALSE(IsWindowEnabled(panel));
  // The dialog is held and let go by a posted request its own thread carries out.
  EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(c.Dialog()); }, 3000));

  SetCheck(options, rbOp1, false);
  SetCheck(options, rbOp3, true);
  SetCheck(options, cbPreview, false);
  SetCheck(options, cbGIF, false);
  PickBackground(options, 0x11, 0x22, 0x33);
  Click(options, IDOK);

  ASSERT_TRUE(WaitFor([&] { return !IsWindow(options) && IsWindowEnabled(panel); }, kWait));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(c.Dialog()) != FALSE; }, 3000));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }, 3000));
  DWORD v = 0;
  std::string text = "unread";
  const std::string app = App("OptA.exe"), options_key = std::string(kAppKey) + "\\Options";
  EXPECT_TRUE(ReadDword(app, "OpMode", &v) && v == 3) << v;
  EXPECT_TRUE(ReadDword(app, "ShowPreview", &v) && v == 0);
  EXPECT_TRUE(ReadDword(app, "ViewGIF", &v) && v == 0);
  EXPECT_TRUE(ReadDword(app, "ViewBMP", &v) && v == 1);
  EXPECT_TRUE(ReadString(app, "UserOpenFolder", &text) && text.empty());
  EXPECT_TRUE(ReadDword(options_key, "HotColor", &v) && v == 0x332211) << std::hex << v;
  EXPECT_TRUE(ReadDword(options_key, "HotTextColor", &v) && v == 0x80000008) << std::hex << v;
  EXPECT_TRUE(ReadString(options_key, "HotFontName", &text) && text == "MS Sans Serif") << text;
  EXPECT_TRUE(ReadDword(options_key, "HotFontSize", &v) && v == 8) << v;
  EXPECT_TRUE(ReadDword(options_key, "HotFontStyle", &v) && v == 0) << v;
  // The open panel at once: the list takes the colour, the dialog the preview's room.
  EXPECT_EQ(SendMessageA(ItemOfClass(panel, "SysListView32"), LVM_GETBKCOLOR, 0, 0), 0x332211);
  EXPECT_GT(Width(HoleOf(panel)), holeBefore);
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, c.Dialog()); }, 3000));
}

TEST_F(Dialogs, CancelledOptionsChangeNothing) {
  StartController();
  Client& c = Open("OptB.exe");
  HWND panel = PanelOf(c);
  ASSERT_TRUE(panel);
  const RECT hole = HoleOf(panel);
  HWND options = Opened(panel, kCmdMainOptions, vt::kOptionsClass);
  ASSERT_TRUE(options);
  SetCheck(options, cbPreview, false);
  SetCheck(options, rbOp1, false);
  SetCheck(options, rbOp2, true);
  Click(options, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(options) && IsWindowEnabled(panel); }, kWait));
  EXPECT_FALSE(ValueExists(App("OptB.exe"), "OpMode"));
  EXPECT_FALSE(ValueExists(App("OptB.exe"), "ShowPreview"));
  EXPECT_FALSE(ValueExists(std::string(kAppKey) + "\\Options", "HotColor"));
  EXPECT_TRUE(Same(HoleOf(panel), hole));
}

TEST_F(Dialogs, StartupListsClientsNotItselfAndItsListIsHonouredAtOnce) {
  StartController();
  Process notepad("C:\\windows\\notepad.exe");
  struct EndNotepad {
    Process& p;
    ~EndNotepad() { p.Kill(); }
  } endNotepad{notepad};
  Client& c = Open("Lister.exe");
  HWND panel = PanelOf(c);
  ASSERT_TRUE(panel);
  HWND startup = Opened(panel, kCmdStartupOptions, vt::kStartupClass);
  ASSERT_TRUE(startup);
  EXPECT_EQ(GetWindow(startup, GW_OWNER), nullptr);
  HWND running = Item(startup, startup_ids::lbrunning), ignore = Item(startup, startup_ids::lbignore);
  auto listed = [&](const char* name) {
    for (const std::string& p : ListItems(running))
      if (Upper(p).find(name) != std::string::npos) return true;
    return false;
  };
  // Programs that were still starting when the list was made come with a refresh.
  auto both = [&] { return listed("NOTEPAD.EXE") && listed("LISTER.EXE"); };
  for (int round = 0; round < 5 && !both(); ++round) {
    Click(startup, startup_ids::sbRefresh);
    WaitFor(both, 1500);
  }
  ASSERT_TRUE(both()) << [&] {
    std::string all;
    for (const std::string& p : ListItems(running)) all += p + "\n";
    return all;
  }();
  EXPECT_FALSE(listed("KESTRUM.EXE"));

  // The running C:\windows\notepad.exe gives NOTEPAD.EXE; a second time is refused.
  const auto items = ListItems(running);
  const auto it = std::find_if(items.begin(), items.end(),
                               [](const std::string& p) { return Upper(p).find("NOTEPAD.EXE") != std::string::npos; });
  SendMessageA(running, LB_SETCURSEL, it - items.begin(), 0);
  Click(startup, startup_ids::sbAdd);
  ASSERT_TRUE(WaitFor([&] { return ListItems(ignore) == std::vector<std::string>{"NOTEPAD.EXE"}; }, kWait));
  Click(startup, startup_ids::sbAdd);
  EXPECT_EQ(TakeMessageBox(Pid()), "The Ignore List already contains this program!");

  // A typed name, upper-cased; then OK, and the next dialog of that program gets no panel.
  Click(startup, startup_ids::sbaddstr);
  HWND input = WaitWindowOf(Pid(), vt::kInputBoxClass);
  ASSERT_TRUE(input);
  EXPECT_EQ(WindowText(input), "Ignore Application");
  SendMessageA(Item(input, vt::kInputBoxEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ignored.exe"));
  PostMessageA(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return ListItems(ignore).size() == 2; }, kWait));
  EXPECT_EQ(ListItems(ignore)[1], "IGNORED.EXE");
  Click(startup, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(startup); }, kWait));
  {
    SharedView view;
    ASSERT_TRUE(view);
    EXPECT_EQ(vt::ReadIgnoreList(*view.get()), (std::vector<std::string>{"NOTEPAD.EXE", "IGNORED.EXE"}));
  }
  DWORD count = 0;
  std::string second;
  EXPECT_TRUE(ReadDword(std::string(kAppKey) + "\\IgnoreList", "IgnoreCount", &count) && count == 2);
  EXPECT_TRUE(ReadString(std::string(kAppKey) + "\\IgnoreList", "Ignore1", &second) && second == "IGNORED.EXE");
  Client& ignored = Open("Ignored.exe");
  ASSERT_TRUE(ignored.WaitDialog());
  Pump(2000);
  EXPECT_EQ(vtt::PanelOf(ignored.Dialog()), nullptr);
}

TEST_F(Dialogs, AboutBoxIsOneWindowShownAgainAfterClosing) {
  StartController();
  Client& c = Open("AboutA.exe");
  HWND panel = PanelOf(c);
  ASSERT_TRUE(panel);
  HWND about = Opened(panel, kCmdAbout, vt::kAboutClass);
  ASSERT_TRUE(about);
  EXPECT_EQ(WindowText(about), "About");
  PanelCommand(panel, kCmdAbout);
  Pump(1000);
  EXPECT_EQ(TopWindows(Pid(), vt::kAboutClass).size(), 1u);
  PostMessageA(about, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }, kWait));
  EXPECT_EQ(Opened(panel, kCmdAbout, vt::kAboutClass), about);
}

TEST_F(Dialogs, ExplorerOpensTheReportedFolderAndNothingBeforeAReport) {
  StartController();
  Client& mute = Open("Mute.exe", "--mute");
  HWND quiet = PanelOf(mute);
  ASSERT_TRUE(quiet);
  std::set<DWORD> ours{controller_.Id(), mute.Process().Id()};
  const std::set<HWND> before = ForeignWindows(ours);
  PanelCommand(quiet, kCmdExplorer);
  Pump(3000);
  EXPECT_EQ(ForeignWindows(ours), before);

  Client& c = Open("Folder.exe", "--folder C:\\windows");
  HWND panel = PanelOf(c);
  ASSERT_TRUE(panel);
  ours.insert(c.Process().Id());
  Pump(1500);  // the panel's folder scan has reported C:\windows
  PanelCommand(panel, kCmdExplorer);
  // Wine's shell window names the folder in ways of its own: any new window of the shell counts.
  HWND shell = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    for (HWND w : ForeignWindows(ours))
      if (!before.count(w)) shell = w;
    return shell != nullptr;
  }, kWait * 2));
  if (shell) PostMessageA(shell, WM_CLOSE, 0, 0);
}

}  // namespace
