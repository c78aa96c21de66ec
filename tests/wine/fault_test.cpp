// Faults on the desktop: the resident program killed under open dialogs and started again,
// and a program killed while its panel waits for a navigation to finish.
#include <shlobj.h>
#include <commctrl.h>

#include "support/DialogDriver.h"
#include "support/PanelHarness.h"

namespace {

using namespace vtt;

// Framed dialogs of several programs, with the controller under them killed at will.
class Fault : public Panel {
 protected:
  std::vector<Client*> OpenFramed(int n) {
    std::vector<Client*> open;
    for (int i = 0; i < n; ++i) {
      Client& c = Open("Fault" + std::to_string(i) + ".exe", "--folder " + folder_->Path());
      if (!c.WaitDialog() || !c.WaitPanel()) return {};
      open.push_back(&c);
    }
    return open;
  }
  void KillController() {
    controller_.Kill();
    ASSERT_TRUE(controller_.WaitExit(kWait));
  }
  static bool PanelGone(HWND dialog) {
    return WaitFor([&] { return PanelOf(dialog) == nullptr; }, kWait);
  }
  static HWND FileNameEdit(HWND dialog) {
    return FindWindowExA(FindWindowExA(FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr), nullptr, "ComboBox",
                                       nullptr), nullptr, "Edit", nullptr);
  }
  // Typed into the dialog's own file-name box and entered there, as its user would.
  static void TypeFolder(HWND dialog, const std::string& path) {
    HWND edit = FileNameEdit(dialog);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  }
  std::string NewFolder(const std::string& name) {
    const std::string path = folder_->Path() + name;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }
};

// The third dialog is inside a navigation wait when the controller dies: it refuses the
// folder, so the wait is certain to be running, with its box's texts diverted to the panel.
TEST_F(Fault, KilledControllerLeavesTheDialogsWorking) {
  // A name no earlier run used: Wine's file dialog remembers the last folder of each program
  // and would open there by itself, leaving nothing to type.
  const std::string start = NewFolder("Start Here " + std::to_string(GetTickCount()));
  WriteString(App("Waiting.exe"), "LastOpenFolder", start);
  StartController();
  std::vector<Client*> open = OpenFramed(2);
  ASSERT_EQ(open.size(), 2u);
  Client& waiting = Open("Waiting.exe", "--refuse --folder " + TempDir());
  ASSERT_TRUE(waiting.WaitDialog());
  ASSERT_TRUE(waiting.WaitPanel());
  ASSERT_TRUE(WaitFor([&] { return FileNameBox(waiting.Dialog()).rfind(start, 0) == 0; }, 5000))
      << "the box holds \"" << FileNameBox(waiting.Dialog()) << "\"";
  open.push_back(&waiting);
  KillController();

  for (std::size_t i = 0; i < open.size(); ++i) {
    Client& c = *open[i];
    HWND dialog = c.Dialog();
    EXPECT_TRUE(PanelGone(dialog)) << i;
    const RECT d = WindowRectOf(dialog);
    SetWindowPos(dialog, nullptr, d.left + 30, d.top + 20, Width(d) + 40, Height(d) + 30, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] {
      const RECT now = WindowRectOf(dialog);
      return now.left == d.left + 30 && now.top == d.top + 20 && Width(now) == Width(d) + 40;
    }, 5000)) << i << " " << Text(WindowRectOf(dialog));
    if (&c == &waiting) {
      // Its program's texts reach the box again (it refuses any folder, so it goes nowhere).
      SendMessageA(FileNameEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("report.txt"));
      EXPECT_EQ(FileNameBox(dialog), "report.txt");
    } else {
      const std::string name = "Went There " + std::to_string(i);
      TypeFolder(dialog, NewFolder(name));
      EXPECT_TRUE(WaitFor([&] { return LookIn(dialog) == name; }, 8000)) << i << " " << LookIn(dialog);
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(c.Process().WaitExit(kWait)) << i;
    EXPECT_EQ(c.Process().ExitCode(), 1u) << i;  // cancelled, not crashed
  }
}

TEST_F(Fault, ControllerStartedAgainFramesNewDialogsAndOldOnesAtTheirNextShow) {
  StartController();
  const std::vector<Client*> open = OpenFramed(2);
  ASSERT_EQ(open.size(), 2u);
  KillController();
  for (Client* c : open) ASSERT_TRUE(PanelGone(c->Dialog()));
  StartController();

  Client& fresh = Open("Fresh.exe");
  ASSERT_TRUE(fresh.WaitDialog());
  HWND panel = fresh.WaitPanel();
  ASSERT_TRUE(panel);
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, fresh.Dialog()); }, 5000));

  for (Client* c : open) {
    HWND dialog = c->Dialog();
    ShowWindowAsync(dialog, SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000));
    ShowWindowAsync(dialog, SW_SHOWNA);
    HWND again = c->WaitPanel();
    ASSERT_TRUE(again) << "no panel at the next show";
    EXPECT_TRUE(WaitFor([&] { return Framed(again, dialog); }, 5000))
        << "dialog " << Text(WindowRectOf(dialog)) << " expected " << Text(ExpectedDialogRect(again, dialog));
  }
  for (Client* c : open) PostMessageA(c->Dialog(), WM_COMMAND, IDCANCEL, 0);
  for (Client* c : open) {
    EXPECT_TRUE(c->Process().WaitExit(kWait));
    EXPECT_TRUE(SlotFreed(c->Dialog()));
  }
}

TEST_F(Fault, ProgramKilledDuringTheNavigationWaitFreesItsPanelAndSlot) {
  // A refusing dialog keeps the wait going for its whole bound: the kill lands inside it.
  const std::string target = NewFolder("Hot Target");
  LPITEMIDLIST list = ILCreateFromPathA(target.c_str());
  ASSERT_TRUE(list);
  const std::string hotKey = std::string(kAppKey) + "\\HotFolders";
  WriteDword(hotKey, "FoldersCount", 1);
  WriteBinary(hotKey, "Folder0", list, ILGetSize(list));
  ILFree(list);
  WriteDword(App("Victim.exe"), "OpMode", 0);
  StartController();
  Client& c = Open("Victim.exe", "--refuse --folder " + TempDir());
  ASSERT_TRUE(c.WaitDialog());
  HWND panel = c.WaitPanel();
  ASSERT_TRUE(panel);
  HWND hot = ItemOfClass(panel, WC_LISTVIEWA);
  ASSERT_TRUE(hot);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(hot, LVM_GETITEMCOUNT, 0, 0) == 1; }, kWait));
  const int row = HIWORD(SendMessageA(hot, LVM_APPROXIMATEVIEWRECT, 2, MAKELPARAM(-1, -1))) -
                  HIWORD(SendMessageA(hot, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
  PostMessageA(hot, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, row / 2));
  PostMessageA(hot, WM_LBUTTONUP, 0, MAKELPARAM(20, row / 2));
  ASSERT_TRUE(WaitFor([&] { return FileNameBox(c.Dialog()).rfind(target, 0) == 0; }, 5000)) << FileNameBox(c.Dialog());
  HWND dialog = c.Dialog();
  c.Process().Kill();
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(panel) || !IsWindowVisible(panel); }, kWait));
  EXPECT_TRUE(SlotFreed(dialog));
  EXPECT_TRUE(controller_.Running());
}

}  // namespace
