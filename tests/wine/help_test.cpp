// Help end to end: "Contents" and the dialogs' "Help" buttons reach the HTML Help engine with
// the right topic (a stand-in engine records the calls; Wine's own shows its viewer), and
// without the engine the shell opens VT.chm through its file association.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "dialogs/Options.h"
#include "dialogs/Startup.h"
#include "panel/PanelForm.h"
#include "support/DialogDriver.h"

using namespace vtt;
using namespace vt::options_ids;
using vt::kCmdAbout, vt::kCmdContents, vt::kCmdExplorer, vt::kCmdMainOptions, vt::kCmdStartupOptions;
namespace startup_ids = vt::startup_ids;

namespace {

// Kestrum's load order for HHCtrl.OCX while it lives, through Wine's per-program overrides
// in the registry (a Win32 parent's WINEDLLOVERRIDES does not reach its children under wine64):
// "native" takes the file in the program folder, "" none at all. Without it Wine takes its own
// engine even for a file of that name in the program folder; Windows would load the folder's.
class EngineOverride {
 public:
  explicit EngineOverride(const char* order) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), lstrlenA(order) + 1);
      RegCloseKey(key);
    }
  }
  ~EngineOverride() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Kestrum.exe");
  }
  EngineOverride(const EngineOverride&) = delete;
  EngineOverride& operator=(const EngineOverride&) = delete;

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\Kestrum.exe\\DllOverrides";
};

class Help : public Panel {
 protected:
  void SetUp() override {
    Panel::SetUp();
    folder_ = std::make_unique<ProgramFolder>(
        std::vector<std::string>{"Kestrum.exe", "VT_brow.dll", "TestVT.exe", "VT.chm"});
  }
  HWND StartPanel(const char* exe) {
    StartController();
    Client& c = Open(exe);
    return c.WaitDialog() ? c.WaitPanel() : nullptr;
  }
  // The lines the stand-in engine has written.
  std::vector<std::string> Calls() const {
    std::vector<std::string> lines;
    std::string text = ReadFileText(folder_->File("htmlhelp.log")), line;
    for (char ch : text) {
      if (ch == '\r') continue;  // the engine writes its log in text mode
      if (ch != '\n') line += ch;
      else lines.push_back(std::exchange(line, {}));
    }
    return lines;
  }
  bool CalledWith(const std::string& topic, std::size_t n) const {
    const auto calls = Calls();
    return calls.size() == n && calls.back() == "1|0|" + folder_->File("VT.chm") + topic;
  }
};

TEST_F(Help, EachCommandAsksTheEngineForItsTopic) {
  ASSERT_TRUE(CopyOneFile(ToolsDir() + "fake_hhctrl.dll", folder_->File("HHCtrl.OCX")));
  HWND panel = nullptr;
  {
    EngineOverride folderEngine("native");
    panel = StartPanel("HelpA.exe");
  }
  ASSERT_TRUE(panel);
  PanelCommand(panel, kCmdContents);
  EXPECT_TRUE(WaitFor([&] { return CalledWith("::/Overview.htm", 1); }, kWait)) << ReadFileText(folder_->File("htmlhelp.log"));

  PanelCommand(panel, kCmdMainOptions);
  HWND options = WaitWindowOf(controller_.Id(), vt::kOptionsClass);
  ASSERT_TRUE(options);
  const char* topics[] = {"::/GeneralOptions.htm", "::/QuickPanelOptions.htm", "::/PreviewOptions.htm"};
  for (int page = 0; page < 3; ++page) {
    SendMessageA(Item(options, pc), TCM_SETCURSEL, page, 0);
    Click(options, bkhelp);
    EXPECT_TRUE(WaitFor([&] { return CalledWith(topics[page], 2 + page); }, kWait)) << page;
  }
  Click(options, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(panel) != FALSE; }, kWait));

  PanelCommand(panel, kCmdStartupOptions);
  HWND startup = WaitWindowOf(controller_.Id(), vt::kStartupClass);
  ASSERT_TRUE(startup);
  Click(startup, startup_ids::nbHelp);
  EXPECT_TRUE(WaitFor([&] { return CalledWith("::/Startup.htm", 5); }, kWait));
}

TEST_F(Help, WinesViewerOpensTheHelpFile) {
  HWND panel = StartPanel("HelpB.exe");
  ASSERT_TRUE(panel);
  PanelCommand(panel, kCmdContents);
  HWND viewer = WaitWindowOf(controller_.Id(), "HH Parent");
  ASSERT_TRUE(viewer);
  EXPECT_EQ(WindowText(viewer), "Vantrel Help");
  PostMessageA(viewer, WM_CLOSE, 0, 0);
}

TEST_F(Help, WithoutTheEngineTheShellOpensTheFile) {
  // The engine cannot be loaded in the controller; .chm files open with a logging stand-in.
  ASSERT_TRUE(CopyOneFile(ToolsDir() + "arg_logger.exe", folder_->File("arg_logger.exe")));
  char old[256] = {};
  LONG oldSize = sizeof old;
  const bool hadOld = RegQueryValueA(HKEY_CLASSES_ROOT, ".chm", old, &oldSize) == ERROR_SUCCESS;
  const std::string command = "\"" + folder_->File("arg_logger.exe") + "\" \"%1\"";
  RegSetValueA(HKEY_CLASSES_ROOT, ".chm", REG_SZ, "VantrelTestChm", 0);
  RegSetValueA(HKEY_CLASSES_ROOT, "VantrelTestChm\\shell\\open\\command", REG_SZ, command.c_str(), 0);
  HWND panel = nullptr;
  {
    EngineOverride noEngine("");
    panel = StartPanel("HelpC.exe");
  }
  if (panel) PanelCommand(panel, kCmdContents);
  const bool opened = WaitFor([&] { return ReadFileText(folder_->File("args.log")).find("VT.chm") != std::string::npos; },
                              kWait);
  if (hadOld) RegSetValueA(HKEY_CLASSES_ROOT, ".chm", REG_SZ, old, 0);
  for (const char* key : {"VantrelTestChm\\shell\\open\\command", "VantrelTestChm\\shell\\open",
                          "VantrelTestChm\\shell", "VantrelTestChm"})
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
  ASSERT_TRUE(panel);
  EXPECT_TRUE(opened) << ReadFileText(folder_->File("args.log"));
}

}  // namespace
