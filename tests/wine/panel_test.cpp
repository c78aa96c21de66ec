// The companion panel end to end: the real Kestrum.exe and VT_brow.dll in a fresh folder, real
// standard Open dialogs shown by small client programs, checked from outside through their
// windows, the shared block and the registry.
#include "support/PanelHarness.h"
#include "protocol/Handle32.h"

namespace {

using namespace vtt;

TEST_F(Panel, FirstDialogOfAProgramIsFramedCentredWithDefaultColumns) {
  StartController();
  Client& c = Open("PanelA.exe");
  ASSERT_TRUE(c.WaitDialog());
  HWND panel = c.WaitPanel();
  ASSERT_TRUE(panel);
  ASSERT_TRUE(vtt::WaitFor([&] { return Framed(panel, c.Dialog()); }, 5000))
      << "dialog " << Text(WindowRectOf(c.Dialog())) << " expected " << Text(ExpectedDialogRect(panel, c.Dialog()));
  // Placed at 635 x 395, centred; the panel then grows to whatever size the dialog's own
  // minimum needs (Wine's Open dialog is wider than 635 less the two columns allow).
  const RECT p = WindowRectOf(panel);
  EXPECT_EQ(p.left, (GetSystemMetrics(SM_CXSCREEN) - 635) / 2);
  EXPECT_EQ(p.top, (GetSystemMetrics(SM_CYSCREEN) - 395) / 2);
  EXPECT_GE(Width(p), 635);
  EXPECT_GE(Height(p), 395);
  // The hole's left edge: frame + hot column 100 + its splitter 3.
  const RECT hole = HoleOf(panel);
  RECT client;
  GetClientRect(panel, &client);
  POINT origin{0, 0};
  ClientToScreen(panel, &origin);
  EXPECT_EQ(hole.left - origin.x, 103);
  EXPECT_EQ(origin.x + client.right - hole.right, 153);  // preview column 150 and its splitter
  char title[256] = {};
  GetWindowTextA(panel, title, sizeof title);
  EXPECT_STREQ(title, "Panel Test Open");
  vtt::Pump(300);
  KeepScreenshot("panel-attached.bmp");
}

TEST_F(Panel, PanelAndDialogMoveSizeAndShowAsOne) {
  StartController();
  Client& c = Open("PanelA.exe");
  ASSERT_TRUE(c.WaitDialog());
  HWND panel = c.WaitPanel();
  ASSERT_TRUE(panel);
  ASSERT_TRUE(vtt::WaitFor([&] { return Framed(panel, c.Dialog()); }, 5000));

  // The dialog moved by its program: the panel follows.
  const RECT before = WindowRectOf(panel);
  const RECT d = WindowRectOf(c.Dialog());
  SetWindowPos(c.Dialog(), nullptr, d.left - 40, d.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(vtt::WaitFor([&] {
    const RECT now = WindowRectOf(panel);
    return now.left == before.left - 40 && now.top == before.top + 30 && Framed(panel, c.Dialog());
  }, 5000)) << "panel " << Text(WindowRectOf(panel)) << " dialog " << Text(WindowRectOf(c.Dialog()))
             << " expected dialog " << Text(ExpectedDialogRect(panel, c.Dialog()));

  // The panel resized: the dialog takes the whole change.
  const RECT p = WindowRectOf(panel), d0 = WindowRectOf(c.Dialog());
  SetWindowPos(panel, nullptr, 0, 0, Width(p) + 60, Height(p) + 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(vtt::WaitFor([&] {
    const RECT d1 = WindowRectOf(c.Dialog());
    return Width(d1) == Width(d0) + 60 && Height(d1) == Height(d0) + 40 && Framed(panel, c.Dialog());
  }, 5000)) << Text(WindowRectOf(c.Dialog()));

  // Maximise and restore keep the frame.
  PostMessageA(panel, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(vtt::WaitFor([&] { return IsZoomed(panel) && Framed(panel, c.Dialog()); }, 5000))
      << "zoomed " << IsZoomed(panel) << " panel " << Text(WindowRectOf(panel)) << " dialog "
      << Text(WindowRectOf(c.Dialog())) << " expected " << Text(ExpectedDialogRect(panel, c.Dialog()));
  PostMessageA(panel, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsZoomed(panel) && Framed(panel, c.Dialog()); }, 5000));

  // A minimised panel restores itself.
  ShowWindowAsync(panel, SW_MINIMIZE);
  vtt::Pump(300);
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsIconic(panel) && IsWindowVisible(panel); }, 5000));

  // Hiding the dialog hides the panel, showing it shows it again.
  ShowWindowAsync(c.Dialog(), SW_HIDE);
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindowVisible(panel); }, 5000));
  ShowWindowAsync(c.Dialog(), SW_SHOWNA);
  EXPECT_TRUE(vtt::WaitFor([&] { return IsWindowVisible(panel); }, 5000));

  // A window made modal over the dialog (the dialog disabled) disables the panel.
  EnableWindow(c.Dialog(), FALSE);
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindowEnabled(panel); }, 5000));
  EnableWindow(c.Dialog(), TRUE);
  EXPECT_TRUE(vtt::WaitFor([&] { return IsWindowEnabled(panel) != FALSE; }, 5000));
}

TEST_F(Panel, ClosingEitherSideEndsBoth) {
  StartController();
  Client& a = Open("PanelA.exe");
  ASSERT_TRUE(a.WaitDialog());
  HWND panel = a.WaitPanel();
  ASSERT_TRUE(panel);
  // Closing the panel cancels the dialog, and its program goes on (here: it ends).
  PostMessageA(panel, WM_CLOSE, 0, 0);
  EXPECT_TRUE(a.Process().WaitExit(kWait));
  EXPECT_EQ(a.Process().ExitCode(), 1u);  // cancelled
  EXPECT_TRUE(SlotFreed(a.Dialog()));

  // The dialog ends on its own: the panel goes and the slot is free again.
  Client& b = Open("PanelA.exe");
  ASSERT_TRUE(b.WaitDialog());
  panel = b.WaitPanel();
  ASSERT_TRUE(panel);
  PostMessageA(b.Dialog(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(b.Process().WaitExit(kWait));
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindow(panel) || !IsWindowVisible(panel); }, kWait));
  EXPECT_TRUE(SlotFreed(b.Dialog()));

  // The program is killed: its dialog is never destroyed properly, yet the panel goes and
  // gives its slot back.
  Client& killed = Open("PanelA.exe");
  ASSERT_TRUE(killed.WaitDialog());
  panel = killed.WaitPanel();
  ASSERT_TRUE(panel);
  killed.Process().Kill();
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindow(panel) || !IsWindowVisible(panel); }, kWait));
  EXPECT_TRUE(SlotFreed(killed.Dialog()));
}

TEST_F(Panel, TenPanelsAtMostAndAFreedSlotIsTakenAgain) {
  StartController();
  std::vector<Client*> open;
  for (int i = 0; i < 10; ++i) {
    Client& c = Open("PanelA.exe", "--title Dialog" + std::to_string(i));
    ASSERT_TRUE(c.WaitDialog()) << i;
    ASSERT_TRUE(c.WaitPanel()) << i;
    open.push_back(&c);
  }
  Client& eleventh = Open("PanelA.exe", "--title Eleventh");
  ASSERT_TRUE(eleventh.WaitDialog());
  vtt::Pump(1500);
  EXPECT_EQ(PanelOf(eleventh.Dialog()), nullptr);

  PostMessageA(open[3]->Dialog(), WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(open[3]->Process().WaitExit(kWait));
  ASSERT_TRUE(SlotFreed(open[3]->Dialog()));
  Client& next = Open("PanelA.exe", "--title Next");
  ASSERT_TRUE(next.WaitDialog());
  ASSERT_TRUE(next.WaitPanel());
  vtt::SharedView view;
  ASSERT_TRUE(view);
  EXPECT_EQ(view->Slots[3].DialogWindow, vt::Handle32(next.Dialog()));
}

TEST_F(Panel, GeometryIsKeptPerProgram) {
  StartController();
  {
    Client& a = Open("PanelA.exe");
    ASSERT_TRUE(a.WaitDialog());
    HWND panel = a.WaitPanel();
    ASSERT_TRUE(panel);
    ASSERT_TRUE(vtt::WaitFor([&] { return Framed(panel, a.Dialog()); }, 5000));
    SetWindowPos(panel, nullptr, 100, 120, 900, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(vtt::WaitFor([&] { return Framed(panel, a.Dialog()); }, 5000));
    PostMessageA(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(a.Process().WaitExit(kWait));
    ASSERT_TRUE(SlotFreed(a.Dialog()));
  }
  DWORD v = 0;
  EXPECT_TRUE(vtt::ReadDword(App("PanelA.exe"), "VTLeft", &v));
  EXPECT_EQ(v, 100u);
  EXPECT_TRUE(vtt::ReadDword(App("PanelA.exe"), "VTWidth", &v));
  EXPECT_EQ(v, 900u);
  EXPECT_TRUE(vtt::ReadDword(App("PanelA.exe"), "PLWidth", &v));
  EXPECT_EQ(v, 100u);

  Client& again = Open("PanelA.exe");
  ASSERT_TRUE(again.WaitDialog());
  HWND panel = again.WaitPanel();
  ASSERT_TRUE(panel);
  ASSERT_TRUE(vtt::WaitFor([&] { return Framed(panel, again.Dialog()); }, 5000));
  RECT p = WindowRectOf(panel);
  EXPECT_EQ(p.left, 100);
  EXPECT_EQ(p.top, 120);
  EXPECT_EQ(Width(p), 900);
  EXPECT_EQ(Height(p), 520);

  // Another program keeps its own: it starts from the defaults, and an off-screen position
  // centres its panel.
  vtt::WriteDword(App("PanelB.exe"), "VTLeft", static_cast<DWORD>(-5000));
  vtt::WriteDword(App("PanelB.exe"), "VTTop", 40);
  Client& b = Open("PanelB.exe");
  ASSERT_TRUE(b.WaitDialog());
  HWND other = b.WaitPanel();
  ASSERT_TRUE(other);
  ASSERT_TRUE(vtt::WaitFor([&] { return Framed(other, b.Dialog()); }, 5000));
  p = WindowRectOf(other);
  EXPECT_EQ(p.left, (GetSystemMetrics(SM_CXSCREEN) - 635) / 2);
  EXPECT_EQ(p.top, (GetSystemMetrics(SM_CYSCREEN) - 395) / 2);

  // A size no window can have, written by hand or by another program: still a panel.
  vtt::WriteDword(App("PanelC.exe"), "VTWidth", 100000000);
  vtt::WriteDword(App("PanelC.exe"), "VTHeight", static_cast<DWORD>(-7));
  Client& c = Open("PanelC.exe");
  ASSERT_TRUE(c.WaitDialog());
  HWND third = c.WaitPanel();
  ASSERT_TRUE(third);
  EXPECT_TRUE(vtt::WaitFor([&] { return Framed(third, c.Dialog()); }, 5000));
}

TEST_F(Panel, StartFolderFollowsTheProgramsRule) {
  const std::string target = folder_->Path() + "Start Here";
  CreateDirectoryA(target.c_str(), nullptr);
  CreateDirectoryA((folder_->Path() + "Links").c_str(), nullptr);
  const std::string elsewhere = vtt::TempDir();
  StartController();

  // OpMode 1 (the default) with a stored last folder: the dialog is driven there, and the
  // name the program put into the box is back afterwards.
  vtt::WriteString(App("PanelA.exe"), "LastOpenFolder", target);
  Client& a = Open("PanelA.exe", "--folder " + elsewhere + " --file report.txt");
  ASSERT_TRUE(a.WaitDialog());
  ASSERT_TRUE(a.WaitPanel());
  EXPECT_TRUE(vtt::WaitFor([&] { return LookIn(a.Dialog()) == "Start Here"; }, 8000)) << LookIn(a.Dialog());
  EXPECT_TRUE(vtt::WaitFor([&] { return FileNameBox(a.Dialog()) == "report.txt"; }, 8000)) << FileNameBox(a.Dialog());
  // Closing writes the folder the dialog shows.
  PostMessageA(a.WaitPanel(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(a.Process().WaitExit(kWait));
  std::string stored;
  EXPECT_TRUE(vtt::ReadString(App("PanelA.exe"), "LastOpenFolder", &stored));
  EXPECT_EQ(stored, target);

  // The Links folder itself is never a start folder; OpMode 2 never navigates.
  vtt::WriteString(App("PanelB.exe"), "LastOpenFolder", folder_->Path() + "Links");
  vtt::WriteDword(App("PanelC.exe"), "OpMode", 2);
  vtt::WriteString(App("PanelC.exe"), "LastOpenFolder", target);
  Client& b = Open("PanelB.exe", "--folder " + folder_->Path());
  Client& c = Open("PanelC.exe", "--folder " + folder_->Path());
  ASSERT_TRUE(b.WaitDialog());
  ASSERT_TRUE(c.WaitDialog());
  ASSERT_TRUE(b.WaitPanel());
  ASSERT_TRUE(c.WaitPanel());
  const std::string home = LookIn(b.Dialog());
  vtt::Pump(1500);
  EXPECT_EQ(LookIn(b.Dialog()), home);
  EXPECT_NE(LookIn(c.Dialog()), "Start Here");
}

TEST_F(Panel, AFolderTheDialogRefusesEndsTheWaitAndKeepsTheText) {
  const std::string target = folder_->Path() + "Start Here";
  CreateDirectoryA(target.c_str(), nullptr);
  vtt::WriteString(App("PanelA.exe"), "LastOpenFolder", target);
  StartController();
  // A folder nothing changes: the dialog refreshes a view whose folder changes, and that
  // would end the wait as a navigation does.
  const std::string quiet = folder_->Path() + "Quiet";
  CreateDirectoryA(quiet.c_str(), nullptr);
  Client& a = Open("PanelA.exe", "--refuse --folder " + quiet + " --file report.txt");
  ASSERT_TRUE(a.WaitDialog());
  ASSERT_TRUE(a.WaitPanel());
  const std::string home = LookIn(a.Dialog());
  // The path goes in, the dialog stays; after the bounded wait (100 cycles of at least 50 ms)
  // the box has the program's text again and the box is no longer diverted.
  EXPECT_TRUE(vtt::WaitFor([&] { return FileNameBox(a.Dialog()).rfind(target, 0) == 0; }, 5000)) << FileNameBox(a.Dialog());
  EXPECT_TRUE(vtt::WaitFor([&] { return FileNameBox(a.Dialog()) == "report.txt"; }, 20000)) << FileNameBox(a.Dialog());
  EXPECT_EQ(LookIn(a.Dialog()), home);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  EXPECT_EQ(view->Slots[0].CatchFileNameText, 0);
}

}  // namespace

namespace {

TEST_F(Panel, OpeningAndClosingDialogsLeavesNoGdiObjectsBehind) {
  SetEnvironmentVariableA("VT_GDI_CENSUS", "1");
  StartController();
  SetEnvironmentVariableA("VT_GDI_CENSUS", nullptr);
  HWND controller = TopWindow(controller_.Id(), "TVantrel");
  auto cycle = [&](int n) {
    for (int i = 0; i < n; ++i) {
      Client& c = Open("Cycle.exe");
      ASSERT_TRUE(c.WaitDialog());
      ASSERT_TRUE(c.WaitPanel());
      HWND dialog = c.Dialog();
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      ASSERT_TRUE(SlotFreed(dialog));
      c.Process().WaitExit(kWait);
      clients_.clear();
    }
    Pump(500);  // the controller's release and repaint run on its next turn
  };
  cycle(3);
  const int early = GdiCensus(controller);
  ASSERT_GT(early, 0) << "the census answers";
  cycle(12);
  const int late = GdiCensus(controller);
  EXPECT_LE(late - early, 3) << early << " GDI objects after 3 cycles, " << late << " after 15";
}

}  // namespace

namespace {

using namespace vtt;

// Notepad's Open dialog carries a template of its own (the encoding box): it is framed as soon
// as its panel shows, and the geometry saved when it closes is the one its panel had.
TEST_F(Panel, NotepadsDialogWithATemplateIsFramedAndKeepsItsGeometry) {
  StartController();
  Process notepad("C:\\windows\\notepad.exe");
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = TopWindow(notepad.Id(), "Notepad")) != nullptr; }, kWait));
  PostMessageA(main, WM_COMMAND, 0x101, 0);  // File > Open
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = TopWindow(notepad.Id(), "#32770")) && IsWindowVisible(dialog); }, kWait));
  HWND panel = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (panel = PanelOf(dialog)) != nullptr; }, kWait));
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, dialog); }, 1000)) << "not framed within two resynchronisations";
  Pump(2000);
  EXPECT_TRUE(Framed(panel, dialog)) << Text(WindowRectOf(dialog)) << " vs " << Text(ExpectedDialogRect(panel, dialog));
  const RECT before = WindowRectOf(panel);
  SetWindowPos(panel, nullptr, before.left + 20, before.top + 10, Width(before) + 60, Height(before) + 40,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitFor([&] { return Framed(panel, dialog); }, kWait));
  const RECT last = WindowRectOf(panel);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(SlotFreed(dialog));
  DWORD width = 0, height = 0, left = 0;
  ASSERT_TRUE(ReadDword(App("NOTEPAD.EXE"), "VTWidth", &width));
  ReadDword(App("NOTEPAD.EXE"), "VTHeight", &height);
  ReadDword(App("NOTEPAD.EXE"), "VTLeft", &left);
  EXPECT_EQ(static_cast<int>(width), Width(last));
  EXPECT_EQ(static_cast<int>(height), Height(last));
  EXPECT_EQ(static_cast<int>(left), last.left);
  notepad.Kill();
}

}  // namespace
