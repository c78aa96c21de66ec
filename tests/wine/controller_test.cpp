// Kestrum.exe end to end: the real program copied into a fresh folder, started as a user would,
// checked through the registry, Config.ini, the shared block and its windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <aclapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/HotFolderStartup.h"
#include "panel/Shortcut.h"
#include "panel/ShellPlaces.h"
#include "settings/Catalogue.h"
#include "settings/Win32Registry.h"
#include "support/WineTest.h"
#include "util/ShellIdList.h"
#include "protocol/Handle32.h"

namespace {

constexpr DWORD kStartWait = 20000;  // the first Wine start of a program is slow
constexpr char kCaption[] = "Vantrel v1.01";
constexpr char kCannotQuit[] =
    "Vantrel can't quit becasuse some Vantrel windows are still open. Please close these windows "
    "before closing Vantrel.";

// Removes everything in dir except the named files. A folder name can be taken again by a
// later run (Wine hands out the same process ids), so an old run's Config.ini, Links or hook
// library must not be found there.
void Scrub(const std::string& dir, const std::vector<std::string>& keep) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    bool kept = false;
    for (const std::string& k : keep) kept = kept || lstrcmpiA(k.c_str(), name.c_str()) == 0;
    if (kept) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Scrub(dir + name + "\\", {});
      RemoveDirectoryA((dir + name).c_str());
    } else {
      DeleteFileA((dir + name).c_str());
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

const std::vector<std::string> kDeliverables = {"Kestrum.exe", "VT_brow.dll", "TestVT.exe"};

// Declared after a test's own program folder: its programs end before the folder is removed,
// also when the test stops early.
struct EndPrograms {
  ~EndPrograms() {
    vtt::KillProcessesNamed("Kestrum.exe");
    vtt::KillProcessesNamed("TestVT.exe");
  }
};

std::string Lower(std::string s) {
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// What the program file carries: its icon, the visual-styles manifest, release 1.01.
TEST(KestrumResources, IconManifestAndVersionAreEmbedded) {
  const std::string exe = vtt::DistDir() + "Kestrum.exe";
  HMODULE mod = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(mod) << exe;
  EXPECT_TRUE(LoadIconA(mod, "MAINICON"));

  HRSRC res = FindResourceA(mod, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_TRUE(res) << "no manifest";
  std::string manifest(static_cast<const char*>(LockResource(LoadResource(mod, res))), SizeofResource(mod, res));
  const std::size_t controls = manifest.find("\"Microsoft.Windows.Common-Controls\"");
  ASSERT_NE(controls, std::string::npos) << manifest;
  EXPECT_NE(manifest.find("version=\"6.0.0.0\"", controls), std::string::npos) << manifest;
  // The other processor's controls do not load: where both are installed the program would not start.
  const char* processor = sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
  EXPECT_NE(manifest.find(processor, controls), std::string::npos) << manifest;

  res = FindResourceA(mod, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
  ASSERT_TRUE(res) << "no version record";
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(mod, res)));
  const DWORD size = SizeofResource(mod, res);
  // The fixed part follows the UTF-16 key "VS_VERSION_INFO"; its signature marks it.
  const BYTE* end = data + size;
  const BYTE* fixed = nullptr;
  for (const BYTE* p = data; p + 52 <= end && !fixed; p += 4)
    if (*reinterpret_cast<const DWORD*>(p) == 0xFEEF04BD) fixed = p;
  ASSERT_TRUE(fixed);
  EXPECT_EQ(reinterpret_cast<const DWORD*>(fixed)[2], 0x00010001u) << "file version 1.1 (shown as 1.01)";
  auto wide = [](const char* s) {
    std::string w;
    for (; *s; ++s) w += std::string(1, *s) + '\0';
    return w + std::string(2, '\0');
  };
  std::string blob(reinterpret_cast<const char*>(data), size);
  const std::size_t key = blob.find(wide("FileVersion"));
  ASSERT_NE(key, std::string::npos);
  EXPECT_NE(blob.find(wide("1.01"), key), std::string::npos) << "FileVersion text";
  FreeLibrary(mod);
}

class Controller : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    Scrub(folder_.Path(), kDeliverables);
  }
  void TearDown() override { Clean(); }

  static void Clean() {
    vtt::KillProcessesNamed("Kestrum.exe");
    vtt::KillProcessesNamed("TestVT.exe");
    vtt::DeleteTree(vtt::kAppKey);
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, vtt::kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
      RegDeleteValueA(run, "Vantrel");
      RegCloseKey(run);
    }
  }

  // Not a first run: the test program stays out of the way.
  static void NotFirstRun() { vtt::WriteDword(vtt::kAppKey, "NoFirstRun", 1); }

  vtt::Process Start(const vtt::ProgramFolder& folder) {
    return vtt::Process(folder.File("Kestrum.exe"), "", folder.Path());
  }

  static HWND WaitReady(const vtt::Process& p) { return vtt::StartedController(p.Id(), kStartWait); }

  static HWND WaitMessageBox(const vtt::Process& p) {
    HWND box = nullptr;
    vtt::WaitFor([&] { return (box = vtt::TopWindow(p.Id(), "#32770", "Vantrel")) && IsWindowVisible(box); },
                 kStartWait);
    return box;
  }

  static void PressOk(HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

  // The way the tray's Exit leaves: close the main form.
  static void AskToExit(HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }

  static bool Exit(const vtt::Process& p, HWND main) {
    AskToExit(main);
    return p.WaitExit(10000);
  }

  static std::string RunValue() {
    std::string v;
    return vtt::ReadString(vtt::kRunKey, "Vantrel", &v) ? v : "<absent>";
  }
  static DWORD Dword(const char* name, DWORD absent = 0xDEADBEEF) {
    DWORD v = absent;
    vtt::ReadDword(vtt::kAppKey, name, &v);
    return v;
  }

  // A blank in the folder, as in a user name under AppData: the Run value must be quoted.
  vtt::ProgramFolder folder_{{"Kestrum.exe", "VT_brow.dll", "TestVT.exe"}, "with blank"};
};

TEST_F(Controller, FirstStartOnACleanAccountSetsUpOnceAndStartsTheTestProgramOnce) {
  {
    vtt::Process p = Start(folder_);
    HWND main = WaitReady(p);
    ASSERT_TRUE(main);
    EXPECT_EQ(Dword("AutoRun"), 1u);
    EXPECT_EQ(Dword("NoFirstRun"), 1u);
    EXPECT_EQ(Lower(RunValue()), Lower("\"" + folder_.File("Kestrum.exe") + "\"")) << "the Run value, quoted";
    // The start-up starts the test program before it sets the caption, and the shell returns
    // once the new process exists: the count is final here.
    EXPECT_EQ(vtt::CountProcessesNamed("TestVT.exe"), 1) << "the first run starts the test program once";

    // Recent, Favorites and My Documents, each when the shell resolves it; no shortcut names.
    DWORD folders = 0xDEADBEEF;
    ASSERT_TRUE(vtt::ReadDword(std::string(vtt::kAppKey) + "\\HotFolders", "FoldersCount", &folders));
    EXPECT_GE(folders, 1u);
    EXPECT_LE(folders, 3u);
    for (DWORD n = 0; n < folders; ++n) {
      std::string name = "Folder" + std::to_string(n);
      EXPECT_TRUE(vtt::ValueExists(std::string(vtt::kAppKey) + "\\HotFolders", name)) << name;
      EXPECT_FALSE(vtt::ValueExists(std::string(vtt::kAppKey) + "\\HotFolders", name + "-lnk")) << name;
    }
    // Recent always resolves, so it is the first entry.
    vt::Win32Registry backend;
    vt::TQRegistry reg(backend);
    reg.SetBaseKey(vtt::kAppKey);
    std::vector<std::uint8_t> first = vt::ReadFolderIdList(reg, 0, vt::kPanelIdListCapacity);
    LPITEMIDLIST recent = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_RECENT, &recent), S_OK);
    // By path: an item's bytes carry its folder's dates, which change as programs write there.
    char stored[MAX_PATH] = "", expected[MAX_PATH] = "";
    ASSERT_FALSE(first.empty());
    SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(first.data()), stored);
    SHGetPathFromIDListA(recent, expected);
    EXPECT_STREQ(stored, expected) << "Folder0 is not Recent";
    vt::ItemListFree(recent);
    ASSERT_TRUE(Exit(p, main));
    EXPECT_EQ(p.ExitCode(), 0u);
  }
  vtt::KillProcessesNamed("TestVT.exe");
  ASSERT_EQ(vtt::CountProcessesNamed("TestVT.exe"), 0);

  // The second start finds NoFirstRun: no test program, no default folders. With the stored
  // list gone, a first-run step taken again would store Recent at least.
  vtt::DeleteTree(std::string(vtt::kAppKey) + "\\HotFolders");
  vtt::Process again = Start(folder_);
  HWND main = WaitReady(again);
  ASSERT_TRUE(main);
  // Both would have happened before the caption was set.
  EXPECT_EQ(vtt::CountProcessesNamed("TestVT.exe"), 0);
  EXPECT_FALSE(vtt::ValueExists(std::string(vtt::kAppKey) + "\\HotFolders", "FoldersCount"));
  EXPECT_EQ(Dword("AutoRun"), 1u);
  EXPECT_TRUE(Exit(again, main));
}

TEST_F(Controller, MainWindowIsHiddenToolWindowInTheCornerAndAnswersIdentify) {
  NotFirstRun();
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  vtt::Pump(1200);  // a few watch ticks: without DebugMode they leave the form hidden
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.right - r.left, 222);
  EXPECT_EQ(r.bottom - r.top, 160);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 222);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) - 160);
  EXPECT_EQ(vtt::TopWindows(0, "TVantrel").size(), 1u);

  for (WPARAM wp : {WPARAM(0), WPARAM(1), WPARAM(0xFFFFFFFF)})
    for (LPARAM lp : {LPARAM(0), LPARAM(-1), LPARAM(0x12345678)}) {
      DWORD_PTR answer = 0;
      ASSERT_TRUE(SendMessageTimeoutA(main, 0x448, wp, lp, SMTO_ABORTIFHUNG, 5000, &answer));
      EXPECT_EQ(answer, 12345u) << wp << " " << lp;
    }
  EXPECT_TRUE(Exit(p, main));
}

// The block is the user's alone (and the system's), low integrity may not write it, and the
// watch timer's stamp in it moves while Kestrum runs.
TEST_F(Controller, TheSharedBlockIsTheUsersAloneAndCarriesAHeartbeat) {
  NotFirstRun();
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  HANDLE mapping = OpenFileMappingA(READ_CONTROL, FALSE, "VantrelSharedVars");
  ASSERT_TRUE(mapping);
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_EQ(GetSecurityInfo(mapping, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &sd),
            static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(dacl);
  EXPECT_EQ(dacl->AceCount, 2);
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  unsigned char user[512];
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof user, &size));
  void* ace = nullptr;
  ASSERT_TRUE(GetAce(dacl, 0, &ace));
  EXPECT_TRUE(EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, reinterpret_cast<TOKEN_USER*>(user)->User.Sid));
  LocalFree(sd);
  CloseHandle(token);
  CloseHandle(mapping);

  vtt::SharedView view;
  ASSERT_TRUE(view);
  const std::uint32_t first = view->ControllerStamp;
  vtt::Pump(1200);
  EXPECT_NE(first, 0u);
  EXPECT_NE(view->ControllerStamp, first);
  EXPECT_LE(GetTickCount() - view->ControllerStamp, 1000u);
  EXPECT_TRUE(Exit(p, main));
}

TEST_F(Controller, SecondStartEndsSilentlyAndLeavesTheFirstUntouched) {
  NotFirstRun();
  vtt::Process first = Start(folder_);
  HWND main = WaitReady(first);
  ASSERT_TRUE(main);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  // A mark the second instance's start-up would wipe if it got that far.
  std::strcpy(view->IgnoreList[0], "MARK.EXE");

  vtt::Process second = Start(folder_);
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitExit(kStartWait));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(vtt::TopWindows(second.Id(), nullptr).empty());
  EXPECT_STREQ(view->IgnoreList[0], "MARK.EXE");
  EXPECT_EQ(vtt::CountProcessesNamed("Kestrum.exe"), 1);
  EXPECT_EQ(vtt::TopWindows(0, "TVantrel").size(), 1u);
  EXPECT_EQ(vtt::TopWindows(first.Id(), "#32770").size(), 0u) << "nothing was shown";
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(Exit(first, main));
}

TEST_F(Controller, AutoRunIsOnOnlyForExactlyOneAndIsRewritten) {
  NotFirstRun();
  struct Case {
    DWORD stored;
    DWORD rewritten;
    bool runValue;
  };
  for (Case c : {Case{2, 0, false}, Case{1, 1, true}, Case{0xFFFFFFFF, 0, false}, Case{0, 0, false}}) {
    SCOPED_TRACE("AutoRun stored as " + std::to_string(static_cast<int>(c.stored)));
    vtt::WriteDword(vtt::kAppKey, "AutoRun", c.stored);
    vtt::WriteString(vtt::kRunKey, "Vantrel", "stale");
    vtt::Process p = Start(folder_);
    HWND main = WaitReady(p);
    ASSERT_TRUE(main);
    EXPECT_EQ(Dword("AutoRun"), c.rewritten);
    if (c.runValue)
      EXPECT_EQ(Lower(RunValue()), Lower("\"" + folder_.File("Kestrum.exe") + "\""));
    else
      EXPECT_EQ(RunValue(), "<absent>");
    ASSERT_TRUE(Exit(p, main));
  }
}

TEST_F(Controller, MissingHookLibraryIsReportedAndNothingElseHappens) {
  vtt::ProgramFolder bare({"Kestrum.exe", "TestVT.exe"});
  Scrub(bare.Path(), {"Kestrum.exe", "TestVT.exe"});
  EndPrograms end;
  vtt::Process p = Start(bare);
  HWND box = WaitMessageBox(p);
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(vtt::MessageBoxText(box), "Cannot load VT_brow.dll!");

  // While the message shows: the block exists, yet no hook was set and no autorun written.
  {
    vtt::SharedView view;
    ASSERT_TRUE(view);
    EXPECT_EQ(view->GetMessageHook, 0u);
    EXPECT_EQ(view->CallWndRetHook, 0u);
  }
  EXPECT_EQ(RunValue(), "<absent>");
  EXPECT_FALSE(vtt::ValueExists(vtt::kAppKey, "AutoRun"));
  EXPECT_FALSE(vtt::ValueExists(vtt::kAppKey, "NoFirstRun"));

  PressOk(box);
  ASSERT_TRUE(p.WaitExit(10000)) << "the program did not end after the message";
  EXPECT_EQ(RunValue(), "<absent>");
  EXPECT_FALSE(vtt::ValueExists(vtt::kAppKey, "AutoRun"));
  EXPECT_EQ(vtt::CountProcessesNamed("TestVT.exe"), 0);
  EXPECT_TRUE(vtt::TopWindows(0, "TVantrel").empty());
}

TEST_F(Controller, HookLibraryIsLoadedAndSetHookCalled) {
  NotFirstRun();
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  // SetHook stores the two hook handles in the block.
  EXPECT_NE(view->GetMessageHook, 0u);
  EXPECT_NE(view->CallWndRetHook, 0u);
  EXPECT_TRUE(Exit(p, main));
}

TEST_F(Controller, IgnoreListKeepsReadableNonEmptyNamesInUpperCaseInAClearedBlock) {
  NotFirstRun();
  const std::string ignore = std::string(vtt::kAppKey) + "\\IgnoreList";
  struct Case {
    std::vector<std::pair<int, std::string>> stored;  // index, text ("" = empty value)
    DWORD count;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {{{0, "notepad.exe"}, {1, ""}}, 2, {"NOTEPAD.EXE"}},
      // Ignore1 missing, Ignore2 empty, Ignore4 beyond the count: skipped, not counted.
      {{{0, "Setup.Exe"}, {2, ""}, {3, "winword.exe"}, {4, "beyond.exe"}}, 4, {"SETUP.EXE", "WINWORD.EXE"}},
      {{{0, "a.exe"}}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("IgnoreCount " + std::to_string(c.count));
    vtt::DeleteTree(ignore);
    vtt::WriteDword(ignore, "IgnoreCount", c.count);
    for (const auto& [n, text] : c.stored) vtt::WriteString(ignore, "Ignore" + std::to_string(n), text);

    // Left over from an earlier run still mapped somewhere: the start-up must clear it all.
    HANDLE old = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0x19400, "VantrelSharedVars");
    ASSERT_TRUE(old);
    auto* bytes = static_cast<BYTE*>(MapViewOfFile(old, FILE_MAP_WRITE, 0, 0, 0x19400));
    ASSERT_TRUE(bytes);
    std::memset(bytes, 'x', 0x19400);

    vtt::Process p = Start(folder_);
    HWND main = WaitReady(p);
    ASSERT_TRUE(main);
    vtt::SharedView view;
    ASSERT_TRUE(view);
    for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_STREQ(view->IgnoreList[i], c.expected[i].c_str());
    EXPECT_EQ(view->IgnoreList[c.expected.size()][0], 0) << "end of the list";
    for (int i = static_cast<int>(c.expected.size()); i < 50; ++i)
      EXPECT_EQ(view->IgnoreList[i][0], 0) << "entry " << i << " not cleared";
    for (int s = 0; s < 10; ++s) EXPECT_EQ(view->Slots[s].PanelWindow, 0u);
    EXPECT_EQ(view->Reserved1[0], 0) << "the block is zero-filled";
    EXPECT_EQ(view->Reserved3[sizeof view->Reserved3 - 1], 0) << "up to its last byte";

    UnmapViewOfFile(bytes);
    CloseHandle(old);
    ASSERT_TRUE(Exit(p, main));
  }
}

TEST_F(Controller, ConfigIniGetsTheVersionAndDebugSwitchesReachTheBlock) {
  NotFirstRun();
  const std::string ini = folder_.File("Config.ini");
  struct Case {
    const char* name;
    const char* content;  // nullptr = no file
    DWORD showErrors, noAttach;
  };
  const Case cases[] = {
      {"no file", nullptr, 0, 0},
      {"switches on", "[Debug]\r\nNoAttachVTR=1\r\nShowErrors=7\r\n[Common]\r\nVersion=0.90\r\nOther=keep\r\n", 1, 1},
      {"not numbers", "[Debug]\r\nNoAttachVTR=abc\r\nShowErrors=0\r\n", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(ini.c_str());
    if (c.content) vtt::WriteFileText(ini, c.content);
    vtt::Process p = Start(folder_);
    HWND main = WaitReady(p);
    ASSERT_TRUE(main);
    {
      vtt::SharedView view;
      ASSERT_TRUE(view);
      EXPECT_EQ(view->ShowErrors, c.showErrors);
      EXPECT_EQ(view->NoAttachVTR, c.noAttach);
    }
    ASSERT_TRUE(Exit(p, main));
    std::string text = vtt::ReadFileText(ini);
    ASSERT_FALSE(text.empty()) << "Config.ini not created";
    EXPECT_NE(text.find("[Common]"), std::string::npos) << text;
    EXPECT_NE(text.find("Version=1.01"), std::string::npos) << text;
    EXPECT_EQ(text.find("0.90"), std::string::npos) << text;
    if (c.content && std::strstr(c.content, "Other=keep")) {
      EXPECT_NE(text.find("Other=keep"), std::string::npos) << "other keys are kept";
    }
  }
}

TEST_F(Controller, DebugModeShowsTheMainFormInItsCorner) {
  NotFirstRun();
  vtt::WriteFileText(folder_.File("Config.ini"), "[Debug]\r\nDebugMode=1\r\n");
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  ASSERT_TRUE(vtt::WaitFor([&] { return IsWindowVisible(main) != 0; }, 3000)) << "not shown by the watch timer";
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(vtt::WindowText(main), kCaption);
  EXPECT_TRUE(Exit(p, main));
}

TEST_F(Controller, ExitIsRefusedWhileASlotHoldsAPanelWindow) {
  NotFirstRun();
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  HWND panel = CreateWindowA("STATIC", "panel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(panel);
  view->Slots[3].PanelWindow = vt::Handle32(panel);

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first Exit" : "Exit again");
    AskToExit(main);
    HWND box = WaitMessageBox(p);
    ASSERT_TRUE(box) << "no refusal shown";
    EXPECT_EQ(vtt::MessageBoxText(box), kCannotQuit);
    if (round == 1) {
      // Exit chosen again while the refusal shows: the close returns at once, where a second
      // refusal would hold it in its own box.
      DWORD_PTR closed = 1;
      EXPECT_TRUE(SendMessageTimeoutA(main, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &closed)) << "a second box";
      EXPECT_EQ(vtt::TopWindows(p.Id(), "#32770", "Vantrel").size(), 1u);
    }
    PressOk(box);
    ASSERT_TRUE(vtt::WaitFor([&] { return !IsWindow(box); }, 5000));
    // Answered after the close that showed the box has returned.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(main, 0x448, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, 12345u) << "still resident";
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsWindow(main));
  }

  // The panel closes: its slot is free and Exit ends the program.
  view->Slots[3].PanelWindow = 0;
  ASSERT_TRUE(Exit(p, main));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_TRUE(vtt::TopWindows(p.Id(), "#32770").empty());
  DestroyWindow(panel);
}

// A handle that no longer names a window (a panel that died without its close, or a stray
// write) must not keep the program from quitting for ever.
TEST_F(Controller, ExitIsAllowedWhenASlotHoldsOnlyADeadWindow) {
  NotFirstRun();
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  HWND gone = CreateWindowA("STATIC", "gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(gone);
  DestroyWindow(gone);
  view->Slots[9].PanelWindow = vt::Handle32(gone);
  ASSERT_TRUE(Exit(p, main)) << "exit refused for a dead window";
  EXPECT_EQ(p.ExitCode(), 0u);
}

// Someone else holds a smaller block of that name. Windows refuses the whole-size view (the
// program then runs without a block); Wine grants it. Either way the program must start, stay
// resident and quit.
TEST_F(Controller, ABlockOfTheWrongSizeDoesNotStopTheProgram) {
  NotFirstRun();
  HANDLE small = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "VantrelSharedVars");
  ASSERT_TRUE(small);
  auto* bytes = static_cast<BYTE*>(MapViewOfFile(small, FILE_MAP_WRITE, 0, 0, 4096));
  ASSERT_TRUE(bytes);
  std::memset(bytes, 'x', 4096);
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  EXPECT_EQ(Dword("AutoRun"), 1u) << "the rest of the start-up ran";
  EXPECT_TRUE(Exit(p, main));
  UnmapViewOfFile(bytes);
  CloseHandle(small);
}

// A library of that name without the two exports: no hooks, but the program runs on.
TEST_F(Controller, AHookLibraryWithoutTheExportsIsRunWithout) {
  NotFirstRun();
  vtt::ProgramFolder folder({"Kestrum.exe"});
  Scrub(folder.Path(), {"Kestrum.exe"});
  EndPrograms end;
  char system[MAX_PATH];
  ASSERT_TRUE(GetSystemDirectoryA(system, sizeof system));
  ASSERT_TRUE(vtt::CopyOneFile(std::string(system) + "\\version.dll", folder.File("VT_brow.dll")));
  vtt::Process p = Start(folder);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  EXPECT_TRUE(vtt::TopWindows(p.Id(), "#32770").empty()) << "no message";
  EXPECT_EQ(Lower(RunValue()), Lower("\"" + folder.File("Kestrum.exe") + "\""));
  EXPECT_TRUE(Exit(p, main));
  EXPECT_EQ(p.ExitCode(), 0u);
}

TEST_F(Controller, MalformedReportsAreIgnoredAndTheProgramStaysResponsive) {
  NotFirstRun();
  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  HWND dialog = CreateWindowA("STATIC", "dialog", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

  char unterminated[16];
  std::memset(unterminated, 'A', sizeof unterminated);
  std::vector<char> huge(100000, 'B');
  huge.back() = 0;
  struct Report {
    ULONG_PTR kind;
    const void* data;
    DWORD size;
  };
  const Report reports[] = {
      {1, "", 1},                                // attach with an empty program name
      {1, unterminated, sizeof unterminated},    // no NUL inside the payload
      {1, nullptr, 0},                           // no payload
      {1, huge.data(), static_cast<DWORD>(huge.size())},
      {2, unterminated, sizeof unterminated},
      {2, nullptr, 0},
      {77, "NOTEPAD.EXE", 12},                   // unknown kind
      {0xFFFFFFFF, "x", 2},
  };
  for (const Report& r : reports) {
    COPYDATASTRUCT cds{r.kind, r.size, const_cast<void*>(r.data)};
    DWORD_PTR answer = 1;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_COPYDATA, reinterpret_cast<WPARAM>(dialog),
                                    reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &answer))
        << "kind " << r.kind;
    EXPECT_EQ(answer, 0u);
  }
  for (int s = 0; s < 10; ++s) EXPECT_EQ(view->Slots[s].PanelWindow, 0u) << "slot " << s << " claimed";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(main, 0x448, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 12345u);
  EXPECT_TRUE(p.Running());
  DestroyWindow(dialog);
  EXPECT_TRUE(Exit(p, main));
}

TEST_F(Controller, StartUpDeletesShortcutsNoHotFolderNames) {
  NotFirstRun();
  const std::string hot = std::string(vtt::kAppKey) + "\\HotFolders";
  vtt::WriteDword(hot, "FoldersCount", 3);
  vtt::WriteString(hot, "Folder0-lnk", "111.LNK");  // names match without regard to case
  vtt::WriteString(hot, "Folder2-lnk", "333.lnk");  // kept although Folder1 is missing
  vtt::WriteString(hot, "Folder3-lnk", "444.lnk");  // beyond the count: not a kept name
  const std::string links = folder_.File("Links\\");
  CreateDirectoryA(links.c_str(), nullptr);
  for (const char* f : {"111.lnk", "333.lnk", "444.lnk", "stray.lnk", "notes.txt"})
    vtt::WriteFileText(links + f, "x");
  CreateDirectoryA((links + "sub").c_str(), nullptr);

  vtt::Process p = Start(folder_);
  HWND main = WaitReady(p);
  ASSERT_TRUE(main);
  EXPECT_TRUE(vtt::FileExists(links + "111.lnk"));
  EXPECT_TRUE(vtt::FileExists(links + "333.lnk"));
  EXPECT_FALSE(vtt::FileExists(links + "444.lnk"));
  EXPECT_FALSE(vtt::FileExists(links + "stray.lnk"));
  EXPECT_FALSE(vtt::FileExists(links + "notes.txt"));
  EXPECT_NE(GetFileAttributesA((links + "sub").c_str()), INVALID_FILE_ATTRIBUTES) << "folders are left";
  EXPECT_TRUE(Exit(p, main));
}

// The start-up's shell pieces through the real shell: special folders, the first-run append,
// the shortcut writer.
class HotFolderStartup : public ::testing::Test {
 protected:
  static constexpr char kTestKey[] = "Software\\Brisvane\\VantrelStartupTest";
  void SetUp() override {
    CoInitialize(nullptr);
    vtt::DeleteTree(kTestKey);
    reg.SetBaseKey(kTestKey);
  }
  void TearDown() override {
    vtt::DeleteTree(kTestKey);
    CoUninitialize();
  }
  static std::string PathOf(LPCITEMIDLIST list) {
    char path[MAX_PATH] = "";
    return list && SHGetPathFromIDListA(list, path) ? std::string(path) : std::string();
  }
  vt::Win32Registry backend;
  vt::TQRegistry reg{backend};
};

TEST_F(HotFolderStartup, SpecialFoldersResolveLikeTheShellSaysAndUnknownCodesGiveNone) {
  LPITEMIDLIST expected = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_RECENT, &expected), S_OK);
  const vt::ItemListPtr recent = vt::GetSpecialFolderPidl(vt::kRecentFolderCode);
  ASSERT_TRUE(recent);
  EXPECT_TRUE(vt::ItemListSame(recent.get(), expected));
  vt::ItemListFree(expected);

  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  std::string personal;
  ASSERT_TRUE(vtt::ReadString(shellFolders, "Personal", &personal));
  CreateDirectoryA(personal.c_str(), nullptr);
  const vt::ItemListPtr docs = vt::GetSpecialFolderPidl(vt::kPersonalFolderCode);
  ASSERT_TRUE(docs) << personal;
  EXPECT_EQ(Lower(PathOf(docs.get())), Lower(personal));

  // A Shell Folders value that names nothing, or nothing at all, resolves to none.
  std::string favorites;
  const bool hadFavorites = vtt::ReadString(shellFolders, "Favorites", &favorites);
  for (const char* bad : {"C:\\no\\such\\folder\\anywhere", ""}) {
    vtt::WriteString(shellFolders, "Favorites", bad);
    EXPECT_FALSE(vt::GetSpecialFolderPidl(vt::kFavoritesFolderCode)) << bad;
  }
  if (hadFavorites) vtt::WriteString(shellFolders, "Favorites", favorites);

  for (int code : {11112, 22221, 33333, 11111 * 3, -1}) EXPECT_FALSE(vt::GetSpecialFolderPidl(code)) << code;
}

TEST_F(HotFolderStartup, AppendedFoldersGoAfterTheStoredOnesWithoutShortcutNames) {
  const vt::ItemListPtr owned = vt::GetSpecialFolderPidl(CSIDL_DRIVES);
  LPCITEMIDLIST drives = owned.get();
  ASSERT_TRUE(drives);
  const std::size_t size = vt::ItemListSize(drives);
  EXPECT_FALSE(vt::AppendHotFolder(reg, nullptr));
  EXPECT_FALSE(vt::ReadFoldersCount(reg).has_value()) << "nothing written for no folder";

  ASSERT_TRUE(vt::AppendHotFolder(reg, drives));
  ASSERT_TRUE(vt::AppendHotFolder(reg, drives));
  EXPECT_EQ(vt::ReadFoldersCount(reg), 2);
  for (int n = 0; n < 2; ++n) {
    std::vector<std::uint8_t> stored = vt::ReadFolderIdList(reg, n, vt::kPanelIdListCapacity);
    ASSERT_EQ(stored.size(), size) << n;
    EXPECT_EQ(std::memcmp(stored.data(), drives, size), 0) << n;
    EXPECT_FALSE(vt::ReadFolderLink(reg, n).has_value()) << n;
  }
}

TEST_F(HotFolderStartup, ShortcutPointsAtTheFolderAndReplacesAnOldFile) {
  const vt::ItemListPtr owned = vt::GetSpecialFolderPidl(CSIDL_DRIVES);
  LPCITEMIDLIST drives = owned.get();
  ASSERT_TRUE(drives);
  vtt::ProgramFolder folder(std::vector<std::string>{});
  Scrub(folder.Path(), {});
  const std::string file = folder.File("123456.lnk");
  vtt::WriteFileText(file, "not a shortcut");
  ASSERT_TRUE(vt::CreateShortcut(drives, file, "", ""));

  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  IPersistFile* persist = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)), S_OK);
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  EXPECT_EQ(persist->Load(wide, STGM_READ), S_OK);
  LPITEMIDLIST target = nullptr;
  EXPECT_EQ(link->GetIDList(&target), S_OK);
  EXPECT_TRUE(target && vt::ItemListSame(target, drives));
  char args[64] = "x";
  link->GetArguments(args, sizeof args);
  EXPECT_STREQ(args, "");
  if (target) vt::ItemListFree(target);
  persist->Release();
  link->Release();

  EXPECT_FALSE(vt::CreateShortcut(nullptr, folder.File("none.lnk"), "", ""));
  EXPECT_FALSE(vtt::FileExists(folder.File("none.lnk")));
}

}  // namespace
