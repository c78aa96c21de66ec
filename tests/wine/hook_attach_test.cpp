// End to end under Wine: the real hook library, hooked in by a stand-in controller, finds
// real Open dialogs of other processes and reports them, once, unless the program is
// ignored or attaching is switched off; it answers the running-program query; and a missing
// or hung controller leaves every dialog working.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hook/HookFixture.h"
#include "protocol/IgnoreList.h"
#include "protocol/Messages.h"

using namespace vth;

namespace {

// How long a dialog must stay unreported to count as not attached. The dialog has been shown
// and settled before this starts (DialogClient::WaitDialog).
constexpr DWORD kQuietMs = 600;

void ExpectProgramName(const CopyRecord& r, const std::string& name) {
  EXPECT_EQ(r.Text(), name);
  EXPECT_EQ(r.cbData, name.size() + 1) << "cbData counts the terminating NUL";
  ASSERT_FALSE(r.bytes.empty());
  EXPECT_EQ(r.bytes.back(), 0);
}

class AttachTest : public HookFixture {};

TEST_F(AttachTest, SetHookInstallsBothHooksAndRecordsTheirHandles) {
  EXPECT_NE(ctl_->Block().GetMessageHook, 0u);
  EXPECT_NE(ctl_->Block().CallWndRetHook, 0u);
  EXPECT_TRUE(ctl_->Unhook());
  ctl_->Block().GetMessageHook = ctl_->Block().CallWndRetHook = 0;
  EXPECT_TRUE(ctl_->Hook());
  EXPECT_NE(ctl_->Block().GetMessageHook, 0u);
  EXPECT_NE(ctl_->Block().CallWndRetHook, 0u);
}

TEST_F(AttachTest, ShownDialogIsReportedOnceWithTheProgramFileName) {
  ASSERT_TRUE(Start()) << why_;
  CopyRecord attach;
  ASSERT_TRUE(AttachOf(dialog_, &attach));
  EXPECT_EQ(attach.to, ctl_->Window());
  EXPECT_FALSE(attach.toPanel);
  ExpectProgramName(attach, kDialogClientExe);
  EXPECT_GE(ctl_->IdentifyCount(), 1) << "the controller is found by VTM_IDENTIFY";
  EXPECT_TRUE(GetWindowLongA(dialog_, GWL_STYLE) & WS_THICKFRAME) << "an attached dialog is made sizeable";

  // Hidden and shown again, the same dialog is not reported again; its panel hears both.
  ASSERT_TRUE(ShowBounded(dialog_, SW_HIDE));
  ASSERT_TRUE(vtt::WaitFor([&] { return !IsWindowVisible(dialog_); }, 3000));
  ASSERT_TRUE(ShowBounded(dialog_, SW_SHOW));
  ASSERT_TRUE(vtt::WaitFor([&] { return IsWindowVisible(dialog_) != FALSE; }, 3000));
  vtt::Pump(700);
  EXPECT_EQ(ctl_->Count(vt::VTCD_ATTACH), 1);
  auto shows = PanelRecords(vt::VTCD_SHOW);
  ASSERT_GE(shows.size(), 2u);
  vt::NotifyRecord hide{}, show{};
  ASSERT_EQ(shows[shows.size() - 2].bytes.size(), sizeof hide);
  ASSERT_EQ(shows.back().bytes.size(), sizeof show);
  std::memcpy(&hide, shows[shows.size() - 2].bytes.data(), sizeof hide);
  std::memcpy(&show, shows.back().bytes.data(), sizeof show);
  EXPECT_EQ(hide.Message, static_cast<std::uint32_t>(WM_SHOWWINDOW));
  EXPECT_EQ(hide.WParam, 0u);
  EXPECT_EQ(show.WParam, 1u);
  EXPECT_EQ(shows.back().from, dialog_);

  client_->Cancel();
  EXPECT_TRUE(client_->Process().WaitExit(5000));
  EXPECT_EQ(client_->Process().ExitCode(), 0u);
}

// The classic dialog by its direct children; the item dialog's Windows layout (which nobody
// here can run) by its nested file-name box, built of those classes.
TEST_F(AttachTest, FileDialogsAreKnownByTheirChildrenAlone) {
  // Captions name the children: ListBox, ComboBox, Button, Static; x = not class "#32770";
  // W = the item dialog's Windows layout, Wn = the same without its combo box.
  const std::vector<std::pair<std::string, bool>> fakes = {
      {"L1C2B4S4", true},  {"W", true},         {"L1C2B4S5", false}, {"L1C2B5S4", false}, {"L1C3B4S4", false},
      {"L2C2B4S4", false}, {"L0C2B4S4", false}, {"L1C2B4S3", false}, {"xL1C2B4S4", false}, {"Wn", false}};
  ClientOptions o;
  for (const auto& f : fakes) o.fakes += (o.fakes.empty() ? "" : ",") + f.first;
  client_ = std::make_unique<DialogClient>(o);
  ASSERT_TRUE(client_->Started());
  std::vector<HWND> windows(fakes.size());
  ASSERT_TRUE(vtt::WaitFor(
      [&] {
        for (std::size_t i = 0; i < fakes.size(); ++i)
          if (!windows[i]) windows[i] = vtt::TopWindow(client_->Process().Id(), nullptr, fakes[i].first.c_str());
        return std::all_of(windows.begin(), windows.end(), [](HWND w) { return w && IsWindowVisible(w); });
      },
      15000));
  ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 5000, 1, windows[0])) << "a plain window with a file dialog's children";
  ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 5000, 1, windows[1])) << "a window with the item dialog's Windows layout";
  vtt::Pump(700);
  for (std::size_t i = 0; i < fakes.size(); ++i)
    EXPECT_EQ(ctl_->Count(vt::VTCD_ATTACH, windows[i]), fakes[i].second ? 1 : 0) << fakes[i].first;
  EXPECT_GE(ctl_->SlotOf(windows[0]), 0);
  EXPECT_GE(ctl_->SlotOf(windows[1]), 0);
  EXPECT_TRUE(SendBounded(windows[0], WM_NULL, 0, 0)) << "the host still answers";
}

// The program is named by its module file, not by its command line: an unquoted line with
// arguments, or one longer than any path, names the same program.
TEST_F(AttachTest, TheProgramIsNamedByItsModuleWhateverItsCommandLine) {
  auto run = [&](const std::string& extra, std::string* attachName, std::string* programPath) {
    ClientOptions o;
    o.unquoted = true;
    o.dir = folder_->Path();
    o.extra = extra;
    client_ = std::make_unique<DialogClient>(o);
    dialog_ = client_->WaitDialog(15000);
    ASSERT_NE(dialog_, nullptr);
    ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 10000, 1, dialog_));
    CopyRecord attach;
    ASSERT_TRUE(AttachOf(dialog_, &attach));
    EXPECT_EQ(attach.cbData, attach.Text().size() + 1);
    *attachName = attach.Text();
    PostMessageA(dialog_, WM_NULL, vt::kProgramQueryParam, 0);
    ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_PROGRAM, 5000, 1, dialog_));
    *programPath = ctl_->Find(vt::VTCD_PROGRAM, dialog_).front().Text();
  };
  const std::string exe = vtt::ToolsDir() + kDialogClientExe;
  auto same = [](std::string a, std::string b) { return _stricmp(a.c_str(), b.c_str()) == 0; };

  for (const std::string& extra : {std::string("--note plain"), "--pad " + std::string(1500, 'p')}) {
    std::string name, path;
    run(extra, &name, &path);
    if (HasFatalFailure()) return;
    ASSERT_NE(client_->CommandLine().front(), '"');
    EXPECT_TRUE(same(path, exe)) << path;
    EXPECT_TRUE(same(name, kDialogClientExe)) << name;
  }
}

TEST_F(AttachTest, TestProgramsOpenDialogIsReportedAsTestVT) {
  std::string exe = vtt::DistDir() + "TestVT.exe";
  if (!vtt::FileExists(exe)) GTEST_SKIP() << "TestVT.exe is not built";
  vtt::Process testvt(exe, {}, folder_->Path());
  HWND test = nullptr;
  ASSERT_TRUE(vtt::WaitFor([&] { return (test = vtt::TopWindow(testvt.Id(), "#32770", "Test Vantrel")) != nullptr; },
                           10000));
  PostMessageA(test, WM_COMMAND, 101, 0);
  HWND open = nullptr;
  ASSERT_TRUE(vtt::WaitFor([&] { return (open = vtt::TopWindow(testvt.Id(), "#32770", "Open File")) != nullptr; },
                           10000));
  ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 10000, 1, open));
  CopyRecord attach;
  ASSERT_TRUE(AttachOf(open, &attach));
  ExpectProgramName(attach, "TestVT.exe");
  EXPECT_GE(ctl_->SlotOf(open), 0);
  PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindow(open); }, 5000));
  PostMessageA(test, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(testvt.WaitExit(5000));
  testvt.Kill();
}

TEST_F(AttachTest, IgnoredProgramGetsNoPanelUntilTheListIsEmptied) {
  // Written as the controller writes it: upper case, in order.
  vt::PutIgnoreList(ctl_->Block(), {"notepad.exe", kDialogClientExe});
  ClientOptions o;
  o.shows = 2;
  ASSERT_TRUE(Start(o, false)) << why_;
  HWND first = dialog_;
  vtt::Pump(kQuietMs);  // a report would have come within milliseconds of the show
  EXPECT_EQ(ctl_->Count(vt::VTCD_ATTACH), 0);
  EXPECT_EQ(ctl_->SlotOf(first), -1);
  EXPECT_TRUE(client_->Answers());

  // An unattached dialog minimises as it always did.
  ASSERT_TRUE(ShowBounded(first, SW_MINIMIZE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsIconic(first) != FALSE; }, 3000));
  ShowBounded(first, SW_RESTORE);

  vt::PutIgnoreList(ctl_->Block(), {});
  client_->Cancel();
  HWND second = client_->WaitDialog(15000, first);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 10000, 1, second));
  CopyRecord attach;
  ASSERT_TRUE(AttachOf(second, &attach));
  ExpectProgramName(attach, kDialogClientExe);
  EXPECT_EQ(ctl_->Count(vt::VTCD_ATTACH), 1);
}

TEST_F(AttachTest, DamagedIgnoreEntriesAreSkippedWithinTheirBounds) {
  // 49 entries that fill all 80 bytes without a NUL, then the program's own name: a reader
  // that stays inside each entry still finds the name in the 50th.
  vt::SharedBlock& b = ctl_->Block();
  for (int n = 0; n < 49; ++n) std::memset(b.IgnoreList[n], 'Q', vt::kIgnoreEntrySize);
  std::memset(b.IgnoreList[49], 0, vt::kIgnoreEntrySize);
  std::strcpy(b.IgnoreList[49], "HOOK_DIALOG_CLIENT.EXE");
  ClientOptions o;
  o.shows = 2;
  ASSERT_TRUE(Start(o, false)) << why_;
  HWND first = dialog_;
  vtt::Pump(kQuietMs);  // a report would have come within milliseconds of the show
  EXPECT_EQ(ctl_->Count(vt::VTCD_ATTACH), 0) << "the name in entry 49 is on the list";
  EXPECT_TRUE(client_->Answers());

  // Fifty damaged entries and no end entry: nothing matches, the next dialog is attached.
  for (int n = 0; n < 50; ++n) std::memset(b.IgnoreList[n], 'Q', vt::kIgnoreEntrySize);
  std::memcpy(b.IgnoreList[49], "HOOK_DIALOG_CLIENT.EXE", 22);  // a name without its NUL
  client_->Cancel();
  HWND second = client_->WaitDialog(15000, first);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 10000, 1, second));
  EXPECT_TRUE(client_->Answers());
}

TEST_F(AttachTest, NoAttachSwitchStopsAttachingButTheProgramQueryIsAnswered) {
  ctl_->Block().NoAttachVTR = 1;
  ASSERT_TRUE(Start({}, false)) << why_;
  vtt::Pump(kQuietMs);  // a report would have come within milliseconds of the show
  EXPECT_EQ(ctl_->Count(vt::VTCD_ATTACH), 0);
  EXPECT_EQ(ctl_->SlotOf(dialog_), -1);

  // Other WM_NULL messages are not queries.
  auto windows = vtt::TopWindows(client_->Process().Id(), nullptr);
  ASSERT_FALSE(windows.empty());
  for (HWND w : windows) {
    PostMessageA(w, WM_NULL, 0, 0);
    PostMessageA(w, WM_NULL, 122, 0);
  }
  vtt::Pump(700);
  EXPECT_EQ(ctl_->Count(vt::VTCD_PROGRAM), 0);

  for (HWND w : windows) PostMessageA(w, WM_NULL, vt::kProgramQueryParam, 0);
  EXPECT_TRUE(ctl_->WaitFor(vt::VTCD_PROGRAM, 5000, static_cast<int>(windows.size())));
  vtt::Pump(300);
  auto answers = ctl_->Find(vt::VTCD_PROGRAM);
  for (const CopyRecord& a : answers) {
    EXPECT_EQ(a.Text(), client_->Exe()) << "the program path of the queried process";
    EXPECT_EQ(a.cbData, client_->Exe().size() + 1);
    EXPECT_NE(std::find(windows.begin(), windows.end(), a.from), windows.end()) << "wParam is a queried window";
  }
  for (HWND w : windows) {
    bool answered = false;
    for (const CopyRecord& a : answers) answered |= a.from == w;
    EXPECT_TRUE(answered) << "window " << w << " (" << vtt::ClassOf(w) << ") got no answer";
  }

  // A dialog that was never attached minimises normally.
  ASSERT_TRUE(ShowBounded(dialog_, SW_MINIMIZE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsIconic(dialog_) != FALSE; }, 3000));
}

TEST_F(AttachTest, FullSlotsLeaveTheDialogAsItWas) {
  ctl_->FillAllSlots();
  ASSERT_TRUE(Start({}, false)) << why_;
  ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_ATTACH, 10000, 1, dialog_)) << "the report is still sent";
  EXPECT_EQ(ctl_->SlotOf(dialog_), -1);
  LRESULT r = 0;
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_GETFOLDER, 0, 0, &r));
  EXPECT_EQ(r, 0) << "no slot names the dialog: the request goes to the dialog itself";
  EXPECT_EQ(ctl_->Count(vt::VTCD_FOLDER, nullptr, true), 0);
  ASSERT_TRUE(ShowBounded(dialog_, SW_MINIMIZE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsIconic(dialog_) != FALSE; }, 3000));
}

class NoControllerTest : public HookFixture {
 protected:
  Controller::Options ControllerOptions() const override {
    Controller::Options o;
    o.window = false;
    return o;
  }
};

TEST_F(NoControllerTest, DialogsWorkAsWithoutTheLibrary) {
  ASSERT_TRUE(Start({}, false)) << why_;
  EXPECT_TRUE(client_->Answers(2000));
  EXPECT_TRUE(ctl_->Records().empty());
  LRESULT r = 0;
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_GETFOLDER, 0, 0, &r, 2000));
  ASSERT_TRUE(ShowBounded(dialog_, SW_MINIMIZE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsIconic(dialog_) != FALSE; }, 3000));
  ShowBounded(dialog_, SW_RESTORE);
  client_->Cancel();
  EXPECT_TRUE(client_->Process().WaitExit(5000));
  EXPECT_EQ(client_->Process().ExitCode(), 0u);
}

// A window of the controller's class whose thread has stopped handling messages: the
// resident program hung, or another program took the class name.
class HungWindow {
 public:
  HungWindow() {
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] {
      window_ = CreateWindowExA(0, vt::kControllerClass, "hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
      SetEvent(ready_);
      WaitForSingleObject(stop_, INFINITE);
      if (window_) DestroyWindow(window_);
    });
    WaitForSingleObject(ready_, 5000);
  }
  ~HungWindow() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
    CloseHandle(ready_);
  }
  HWND Window() const { return window_; }

 private:
  HANDLE stop_, ready_;
  HWND window_ = nullptr;
  std::thread thread_;
};

TEST_F(NoControllerTest, HungControllerWindowDoesNotFreezeTheDialog) {
  HungWindow hung;
  ASSERT_NE(hung.Window(), nullptr);
  ASSERT_TRUE(Start({}, false)) << why_ << " (the dialog's thread waits for the hung window)";
  EXPECT_TRUE(client_->Answers(3000));
  client_->Cancel();
  EXPECT_TRUE(client_->Process().WaitExit(5000));
  client_->Process().Kill();
}

}  // namespace
