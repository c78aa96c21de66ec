// VantrelSetup.exe and its uninstaller, silent, in the order a user meets them: install, use,
// upgrade over the running program (refused while a panel is open), uninstall.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "support/WineTest.h"
#include "protocol/Handle32.h"

namespace {

constexpr DWORD kSlow = 120000;  // a Wine program's first start on a busy machine
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

std::string InstallDir() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Vantrel\\"; }
std::string MenuDir() { return ShellFolder(CSIDL_PROGRAMS) + "\\Vantrel\\"; }

DWORD FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a) ? a.nFileSizeLow : 0;
}

DWORD RunSetup() {
  // The build's own installer: VantrelSetup-x86.exe or VantrelSetup-x64.exe.
  char name[64] = "VantrelSetup-x64.exe";
  GetEnvironmentVariableA("VT_SETUP", name, sizeof name);
  vtt::Process setup(vtt::DistDir() + name, "/S");
  if (!setup.Started() || !setup.WaitExit(kSlow)) return 0xFFFFFFFF;
  return setup.ExitCode();
}

HWND MainWindow(DWORD pid) { return vtt::StartedController(pid, kSlow); }

DWORD PidOf(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid;
}

// Shared by the steps below, which run in order.
vtt::Process resident;

TEST(Installer, SilentInstallPutsFilesMenuUninstallEntryAndAutorunInPlace) {
  // Shortcuts in the Start menu would otherwise become desktop entries of the Linux user.
  vtt::WriteString("Software\\Wine\\DllOverrides", "winemenubuilder.exe", "");
  vtt::DeleteTree(vtt::kAppKey);
  vtt::DeleteTree(kUninstallKey);
  vtt::WriteDword(vtt::kAppKey, "NoFirstRun", 1);

  ASSERT_EQ(RunSetup(), 0u);
  const std::string dir = InstallDir();
  for (const char* f : {"Kestrum.exe", "VT_brow.dll", "TestVT.exe", "VT.chm"})
    EXPECT_EQ(FileSize(dir + f), FileSize(vtt::DistDir() + f)) << dir << f;
  EXPECT_TRUE(vtt::FileExists(dir + "Uninstall.exe"));
  for (const char* l : {"Vantrel.lnk", "Try Vantrel.lnk", "Vantrel Help.lnk", "Uninstall.lnk"})
    EXPECT_TRUE(vtt::FileExists(MenuDir() + l)) << l;

  std::string text;
  EXPECT_TRUE(vtt::ReadString(kUninstallKey, "DisplayName", &text) && text == "Vantrel") << text;
  EXPECT_TRUE(vtt::ReadString(kUninstallKey, "DisplayVersion", &text) && text == "1.01") << text;
  EXPECT_TRUE(vtt::ReadString(kUninstallKey, "Publisher", &text) && !text.empty());
  EXPECT_TRUE(vtt::ReadString(kUninstallKey, "DisplayIcon", &text) && text.find("Kestrum.exe") != std::string::npos);
  EXPECT_TRUE(vtt::ReadString(kUninstallKey, "UninstallString", &text) && text == "\"" + dir + "Uninstall.exe\"") << text;
  DWORD size = 0;
  EXPECT_TRUE(vtt::ReadDword(kUninstallKey, "EstimatedSize", &size) && size > 100) << size;

  // The same autorun the program's startup options write.
  EXPECT_TRUE(vtt::ReadString(vtt::kRunKey, "Vantrel", &text) && text == "\"" + dir + "Kestrum.exe\"") << text;
  DWORD autoRun = 0;
  EXPECT_TRUE(vtt::ReadDword(vtt::kAppKey, "AutoRun", &autoRun) && autoRun == 1);
}

// The installed program frames a TestVT dialog; an upgrade then would pull the program from
// under the open panel, so the program refuses to quit and the silent setup gives up.
TEST(Installer, InstalledProgramGivesTestVtAPanelAndAnUpgradeWaitsForIt) {
  const std::string dir = InstallDir();
  // A stand-in for an older build: the same program with a tail, so that a replacement shows.
  vtt::WriteFileText(dir + "Kestrum.exe", vtt::ReadFileText(dir + "Kestrum.exe") + "older build");
  const DWORD olderSize = FileSize(dir + "Kestrum.exe");

  resident = vtt::Process(dir + "Kestrum.exe", "", dir);
  HWND main = MainWindow(resident.Id());
  ASSERT_TRUE(main);
  vtt::Process testVt(dir + "TestVT.exe", "", dir);
  HWND dlg = nullptr, open = nullptr;
  ASSERT_TRUE(vtt::WaitFor([&] { return (dlg = vtt::TopWindow(testVt.Id(), "#32770", "Test Vantrel")) != nullptr; }, kSlow));
  PostMessageA(GetDlgItem(dlg, 101), BM_CLICK, 0, 0);
  ASSERT_TRUE(vtt::WaitFor([&] { return (open = vtt::TopWindow(testVt.Id(), "#32770", "Open File")) != nullptr; }, kSlow));

  vtt::SharedView view;
  ASSERT_TRUE(view);
  const auto openHandle = vt::Handle32(open);
  HWND panel = nullptr;
  ASSERT_TRUE(vtt::WaitFor(
      [&] {
        for (const auto& s : view->Slots)
          if (s.PanelWindow && s.DialogWindow == openHandle) panel = vt::FromHandle32<HWND>(s.PanelWindow);
        return panel != nullptr;
      },
      30000))
      << "no panel attached to the Open dialog";
  EXPECT_EQ(vtt::ClassOf(panel), "TVTReplacer");
  EXPECT_EQ(PidOf(panel), resident.Id());

  EXPECT_NE(RunSetup(), 0u) << "setup went on although the program could not quit";
  EXPECT_TRUE(resident.Running());
  EXPECT_EQ(FileSize(dir + "Kestrum.exe"), olderSize) << "replaced under the running program";
  // The box disables the main window, which is what the setup sees, before it shows itself.
  HWND box = nullptr;
  ASSERT_TRUE(vtt::WaitFor([&] { return (box = vtt::TopWindow(resident.Id(), "#32770", "Vantrel")) != nullptr; }, kSlow))
      << "the program's own refusal";
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

  PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(open, IDCANCEL)));
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindow(panel); }, 30000)) << "panel not released";
  PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(testVt.WaitExit(30000));
}

TEST(Installer, UpgradeEndsTheIdleProgramReplacesItAndStartsTheNewOne) {
  ASSERT_TRUE(resident.Running());
  const std::string dir = InstallDir();
  ASSERT_EQ(RunSetup(), 0u);
  EXPECT_TRUE(resident.WaitExit(10000)) << "the old program still runs";
  EXPECT_EQ(FileSize(dir + "Kestrum.exe"), FileSize(vtt::DistDir() + "Kestrum.exe"));
  EXPECT_EQ(FileSize(dir + "VT_brow.dll"), FileSize(vtt::DistDir() + "VT_brow.dll"));
  HWND main = MainWindow(0);
  ASSERT_TRUE(main) << "the new program was not started";
  EXPECT_NE(PidOf(main), resident.Id());
}

TEST(Installer, SilentUninstallRemovesEverythingButTheSettings) {
  const std::string dir = InstallDir();
  CreateDirectoryA((dir + "Links").c_str(), nullptr);
  vtt::WriteFileText(dir + "Links\\1.lnk", "link");
  ASSERT_TRUE(MainWindow(0)) << "the program should be running, to be ended";

  std::string command;
  ASSERT_TRUE(vtt::ReadString(kUninstallKey, "QuietUninstallString", &command));
  vtt::Process un = vtt::Process::FromCommandLine(dir + "Uninstall.exe", command);
  ASSERT_TRUE(un.Started());
  // The uninstaller runs on from a copy of itself in the temporary folder.
  EXPECT_TRUE(vtt::WaitFor(
      [&] {
        return !un.Running() && !vtt::ValueExists(kUninstallKey, "DisplayName") &&
               GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES && !vtt::CountProcessesNamed("Un_A.exe") &&
               !vtt::CountProcessesNamed("Au_.exe");
      },
      kSlow))
      << "uninstall did not finish";

  EXPECT_EQ(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES) << "install folder left";
  EXPECT_EQ(GetFileAttributesA(MenuDir().c_str()), INVALID_FILE_ATTRIBUTES) << "Start menu folder left";
  EXPECT_FALSE(vtt::ValueExists(vtt::kRunKey, "Vantrel"));
  EXPECT_FALSE(vtt::ValueExists(kUninstallKey, "DisplayName"));
  EXPECT_TRUE(vtt::ValueExists(vtt::kAppKey, "AutoRun")) << "settings are kept by default";
  EXPECT_EQ(vtt::CountProcessesNamed("Kestrum.exe"), 0);
  EXPECT_EQ(vtt::CountProcessesNamed("TestVT.exe"), 0);
  vtt::DeleteTree(vtt::kAppKey);
}

// Whatever a failed step left running would hold the test's output open after it ends.
class EndLeftovers : public ::testing::Environment {
 public:
  void TearDown() override {
    for (const char* name : {"Kestrum.exe", "TestVT.exe"}) vtt::KillProcessesNamed(name);
  }
};
const auto* const kEndLeftovers = ::testing::AddGlobalTestEnvironment(new EndLeftovers);

}  // namespace
