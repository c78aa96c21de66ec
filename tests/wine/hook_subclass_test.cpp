// End to end under Wine: the procedures the hook library puts in front of an attached dialog
// and its file-name box. The client counts what still reaches the dialog's own procedure, so
// "handled here, not passed on" is seen directly; releasing the slot must restore the
// dialog's own behaviour.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "hook/HookFixture.h"
#include "protocol/Messages.h"
#include "protocol/Handle32.h"

using namespace vth;

namespace {

class SubclassTest : public HookFixture {
 protected:
  void SetUp() override {
    HookFixture::SetUp();
    if (HasFatalFailure()) return;
    ClientOptions o;
    o.probe = true;
    ASSERT_TRUE(Start(o)) << why_;
    ASSERT_NE(client_->Probe(), nullptr);
  }
  vt::DialogSlot& S() { return ctl_->Slot(slot_); }
  std::uint32_t Seen(int what) { return client_->Probe()->OwnProc[what]; }
  void SetPanelMaximised(bool on) {
    LONG style = GetWindowLongA(panel_, GWL_STYLE);
    SetWindowLongA(panel_, GWL_STYLE, on ? (style | WS_MAXIMIZE) : (style & ~WS_MAXIMIZE));
  }
  void Restore() {
    ShowBounded(dialog_, SW_RESTORE);
    vtt::WaitFor([&] { return !IsIconic(dialog_); }, 2000);
  }
  MINMAXINFO MinMax(const MINMAXINFO& in) {
    MINMAXINFO out{};
    client_->Command(kCmdMinMax, &in, sizeof in);
    auto d = client_->Data();
    if (d.size() == sizeof out) std::memcpy(&out, d.data(), sizeof out);
    return out;
  }
  std::vector<vt::NotifyRecord> Notes(std::uint32_t kind) {
    std::vector<vt::NotifyRecord> out;
    for (const CopyRecord& r : PanelRecords(kind)) {
      vt::NotifyRecord n{};
      EXPECT_EQ(r.cbData, sizeof n);
      EXPECT_EQ(r.from, dialog_);
      if (r.bytes.size() == sizeof n) std::memcpy(&n, r.bytes.data(), sizeof n);
      out.push_back(n);
    }
    return out;
  }
};

bool PureStacking(const vt::WindowPos32& p) {
  return (p.Flags & SWP_NOMOVE) && (p.Flags & SWP_NOSIZE) && !(p.Flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) &&
         !(p.Flags & SWP_NOZORDER);
}

TEST_F(SubclassTest, MovesAreReportedUnlessThePanelMovesTheDialog) {
  RECT r;
  GetWindowRect(dialog_, &r);
  ctl_->Clear();
  ASSERT_TRUE(PosBounded(dialog_, nullptr, r.left + 15, r.top + 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  auto moves = PanelRecords(vt::VTCD_POSCHANGING);
  ASSERT_FALSE(moves.empty());
  ASSERT_EQ(moves.front().cbData, vt::kWindowPosSize);
  // The fixed 28-byte record, whatever this build's own WINDOWPOS is.
  ASSERT_EQ(moves.front().bytes.size(), sizeof(vt::WindowPos32));
  vt::WindowPos32 pos;
  std::memcpy(&pos, moves.front().bytes.data(), sizeof pos);
  EXPECT_EQ(vt::FromHandle32<HWND>(pos.Window), dialog_);
  EXPECT_EQ(pos.X, r.left + 15);
  EXPECT_EQ(pos.Y, r.top + 9);
  EXPECT_TRUE(pos.Flags & SWP_NOSIZE);
  EXPECT_EQ(moves.front().from, dialog_);

  S().MoveGuard = vt::kGuardPanelMovesDialog;
  ctl_->Clear();
  ASSERT_TRUE(PosBounded(dialog_, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_TRUE(PanelRecords(vt::VTCD_POSCHANGING).empty()) << "the panel's own moves are not echoed";
  S().MoveGuard = vt::kGuardPanelFollows;
  ASSERT_TRUE(PosBounded(dialog_, nullptr, r.left + 3, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_FALSE(PanelRecords(vt::VTCD_POSCHANGING).empty());
  S().MoveGuard = vt::kGuardIdle;

  // Stacking changes: reported while the panel is being created, filtered once it is active.
  auto restack = [&] {
    ctl_->Clear();
    EXPECT_TRUE(PosBounded(dialog_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_TRUE(PosBounded(dialog_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    int pure = 0;
    for (const CopyRecord& m : PanelRecords(vt::VTCD_POSCHANGING)) {
      vt::WindowPos32 p;
      if (m.bytes.size() != sizeof p) continue;
      std::memcpy(&p, m.bytes.data(), sizeof p);
      pure += PureStacking(p);
    }
    return pure;
  };
  S().State = vt::kSlotCreating;
  int pureWhileCreating = restack();
  S().State = vt::kSlotActive;
  EXPECT_EQ(restack(), 0) << "pure stacking changes are not reported while the panel is active";
  if (pureWhileCreating == 0) std::printf("note: Wine produced no pure stacking change here\n");
}

TEST_F(SubclassTest, ShowActivationAndEnabledStateReachThePanel) {
  ctl_->Clear();
  ASSERT_TRUE(ShowBounded(dialog_, SW_HIDE));
  ASSERT_TRUE(ShowBounded(dialog_, SW_SHOW));
  auto shows = Notes(vt::VTCD_SHOW);
  ASSERT_EQ(shows.size(), 2u);
  EXPECT_EQ(shows[0].Message, static_cast<std::uint32_t>(WM_SHOWWINDOW));
  EXPECT_EQ(shows[0].WParam, 0u);
  EXPECT_EQ(shows[1].WParam, 1u);

  ctl_->Clear();
  ASSERT_TRUE(SendBounded(dialog_, WM_NCACTIVATE, TRUE, 0));
  auto acts = Notes(vt::VTCD_NCACTIVATE);
  ASSERT_EQ(acts.size(), 1u);
  EXPECT_EQ(acts[0].Message, static_cast<std::uint32_t>(WM_NCACTIVATE));
  EXPECT_EQ(acts[0].WParam, 1u);

  ASSERT_TRUE(EnableBounded(dialog_, FALSE));
  EXPECT_TRUE(vtt::WaitFor([&] { return !IsWindowEnabled(panel_); }, 5000))
      << "the panel follows its dialog into a modal state";
  ASSERT_TRUE(EnableBounded(dialog_, TRUE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsWindowEnabled(panel_) != FALSE; }, 5000));
}

TEST_F(SubclassTest, CloseAndDestroyAreReportedInOrder) {
  ctl_->Clear();
  PostMessageA(dialog_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(ctl_->WaitFor(vt::VTCD_DESTROY, 5000, 1, dialog_, true));
  std::vector<std::uint32_t> kinds;
  for (const CopyRecord& r : ctl_->ToPanel(panel_))
    if (r.kind == vt::VTCD_CLOSE || r.kind == vt::VTCD_DESTROY) kinds.push_back(r.kind);
  EXPECT_EQ(kinds, (std::vector<std::uint32_t>{vt::VTCD_CLOSE, vt::VTCD_DESTROY}));
  EXPECT_EQ(Notes(vt::VTCD_DESTROY).at(0).Message, static_cast<std::uint32_t>(WM_DESTROY));
  EXPECT_EQ(ctl_->SlotOf(dialog_), -1) << "the stand-in panel freed its slot";
  EXPECT_TRUE(client_->Process().WaitExit(5000));
  EXPECT_EQ(client_->Process().ExitCode(), 0u);
}

TEST_F(SubclassTest, SizeLimitsApplyOnlyWhileThePanelIsActive) {
  MINMAXINFO in{};
  in.ptMaxSize = {1111, 1112};
  in.ptMaxPosition = {5, 6};
  in.ptMinTrackSize = {101, 102};
  in.ptMaxTrackSize = {2221, 2222};
  S().State = vt::kSlotCreating;
  S().MaxWidth = 800;
  S().MaxHeight = 600;
  S().MinWidth = 300;
  S().MinHeight = 200;
  MINMAXINFO own = MinMax(in);  // what the dialog itself answers
  EXPECT_EQ(own.ptMaxSize.x, 1111) << "no limits while the panel is being created";

  S().State = vt::kSlotActive;
  MINMAXINFO m = MinMax(in);
  EXPECT_EQ(m.ptMaxSize.x, 800);
  EXPECT_EQ(m.ptMaxSize.y, 600);
  EXPECT_EQ(m.ptMaxTrackSize.x, 800);
  EXPECT_EQ(m.ptMaxTrackSize.y, 600);
  EXPECT_EQ(m.ptMinTrackSize.x, 300);
  EXPECT_EQ(m.ptMinTrackSize.y, 200);
  EXPECT_EQ(m.ptMaxPosition.x, own.ptMaxPosition.x);

  SetPanelMaximised(true);
  m = MinMax(in);
  EXPECT_EQ(m.ptMinTrackSize.x, 800) << "a maximised panel pins the dialog to its largest size";
  EXPECT_EQ(m.ptMinTrackSize.y, 600);
  SetPanelMaximised(false);

  S().MinHeight = 0;
  m = MinMax(in);
  EXPECT_EQ(m.ptMinTrackSize.x, own.ptMinTrackSize.x) << "the minimum needs both values";
  EXPECT_EQ(m.ptMaxSize.x, 800);

  S().MaxWidth = 0xFFFF;
  S().MaxHeight = 0x8000;
  m = MinMax(in);
  EXPECT_EQ(m.ptMaxSize.x, 65535) << "slot sizes are unsigned";
  EXPECT_EQ(m.ptMaxSize.y, 32768);

  S().State = vt::kSlotClosing;
  m = MinMax(in);
  EXPECT_EQ(m.ptMaxSize.x, own.ptMaxSize.x);
  EXPECT_EQ(m.ptMinTrackSize.x, own.ptMinTrackSize.x);
}

TEST_F(SubclassTest, DraggingIsPinnedOnlyWhileThePanelIsMaximised) {
  RECT now;
  GetWindowRect(dialog_, &now);
  RECT proposed = now;
  OffsetRect(&proposed, 37, 41);
  auto moving = [&](LRESULT* result) {
    *result = client_->Command(kCmdMoving, &proposed, sizeof proposed);
    RECT out{};
    auto d = client_->Data();
    if (d.size() == sizeof out) std::memcpy(&out, d.data(), sizeof out);
    return out;
  };
  LRESULT r = 0;
  RECT free = moving(&r);
  EXPECT_TRUE(EqualRect(&free, &proposed));

  SetPanelMaximised(true);
  std::uint32_t seen = Seen(kSeenMoving);
  RECT pinned = moving(&r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(pinned.left, now.left);
  EXPECT_EQ(pinned.top, now.top);
  // The proposed size is kept: pinning only the top-left corner would resize the dialog.
  EXPECT_EQ(pinned.right - pinned.left, proposed.right - proposed.left);
  EXPECT_EQ(pinned.bottom - pinned.top, proposed.bottom - proposed.top);
  EXPECT_EQ(Seen(kSeenMoving), seen) << "handled without the dialog";
  SetPanelMaximised(false);
}

TEST_F(SubclassTest, MinimisingIsUndoneOnlyWhileThePanelIsActive) {
  std::uint32_t seen = Seen(kSeenMinimized);
  ASSERT_TRUE(ShowBounded(dialog_, SW_MINIMIZE));
  vtt::Pump(300);
  EXPECT_FALSE(IsIconic(dialog_)) << "an attached dialog is restored at once";
  EXPECT_TRUE(IsWindowVisible(dialog_));
  EXPECT_EQ(Seen(kSeenMinimized), seen);

  S().State = vt::kSlotCreating;
  ASSERT_TRUE(ShowBounded(dialog_, SW_MINIMIZE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsIconic(dialog_) != FALSE; }, 2000)) << "no guard while the panel is created";
  Restore();
  S().State = vt::kSlotActive;

  // A minimise shows the window again (SWP_SHOWWINDOW), which makes a dialog that no slot
  // names report itself anew; this controller now gives it no slot.
  ctl_->SetClaimSlots(false);
  ctl_->Release(slot_);
  ASSERT_TRUE(ShowBounded(dialog_, SW_MINIMIZE));
  EXPECT_TRUE(vtt::WaitFor([&] { return IsIconic(dialog_) != FALSE; }, 2000)) << "a released dialog minimises";
  EXPECT_GT(Seen(kSeenMinimized), seen);
  Restore();
}

TEST_F(SubclassTest, FrameIsNeverPaintedWhileAttached) {
  std::uint32_t seen = Seen(kSeenNcPaint);
  LRESULT r = -5;
  ASSERT_TRUE(SendBounded(dialog_, WM_NCPAINT, 1, 0, &r));
  EXPECT_EQ(r, 0);
  HWND d = dialog_;
  ASSERT_TRUE(Bounded([d] { RedrawWindow(d, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); }));
  vtt::Pump(200);
  EXPECT_EQ(Seen(kSeenNcPaint), seen) << "WM_NCPAINT reached the dialog";

  ctl_->Release(slot_);
  ASSERT_TRUE(SendBounded(dialog_, WM_NCPAINT, 1, 0, &r));
  EXPECT_GT(Seen(kSeenNcPaint), seen) << "a released dialog paints its frame again";
}

TEST_F(SubclassTest, WindowValuesAreReadAndSetInsideTheDialogsProcess) {
  LRESULT r = 0;
  std::uint32_t gets = Seen(kSeenGetLong), sets = Seen(kSeenSetLong);
  const LONG style = GetWindowLongA(dialog_, GWL_STYLE);
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_GETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), 0, &r));
  EXPECT_EQ(static_cast<LONG>(r), style);
  EXPECT_EQ(Seen(kSeenGetLong), gets) << "answered without the dialog";

  // What the panel does with it: switch the sizing frame.
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_SETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), style & ~WS_THICKFRAME, &r));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(GetWindowLongA(dialog_, GWL_STYLE) & WS_THICKFRAME, 0);
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_SETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), style | WS_THICKFRAME, &r));
  EXPECT_NE(GetWindowLongA(dialog_, GWL_STYLE) & WS_THICKFRAME, 0);
  EXPECT_EQ(Seen(kSeenSetLong), sets);

  // Values that are addresses inside the dialog's process cannot come from another process:
  // a window procedure set from outside would end the host at its next message.
  LRESULT proc = 0, after = 0;
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_GETWINDOWLONG, static_cast<WPARAM>(GWLP_WNDPROC), 0, &proc));
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_SETWINDOWLONG, static_cast<WPARAM>(GWLP_WNDPROC), 0x12345678, &r));
  ASSERT_TRUE(client_->Answers()) << "the host died of a foreign window procedure";
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_GETWINDOWLONG, static_cast<WPARAM>(GWLP_WNDPROC), 0, &after));
  EXPECT_EQ(after, proc);
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_SETWINDOWLONG, static_cast<WPARAM>(DWLP_DLGPROC), 0x12345678, &r));
  EXPECT_TRUE(client_->Answers());

  // With a non-zero lParam the request is the dialog's own business.
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_GETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), 1, &r));
  EXPECT_EQ(Seen(kSeenGetLong), gets + 1);

  ctl_->Release(slot_);
  ASSERT_TRUE(SendBounded(dialog_, vt::VTM_SETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), style & ~WS_THICKFRAME, &r));
  EXPECT_EQ(Seen(kSeenSetLong), sets + 1) << "a released dialog gets its messages unchanged";
  EXPECT_NE(GetWindowLongA(dialog_, GWL_STYLE) & WS_THICKFRAME, 0) << "nothing was set for the released dialog";
}

TEST_F(SubclassTest, CaughtFileNameTextsGoToThePanelInstead) {
  HWND edit = FileNameEdit(dialog_);
  ASSERT_NE(edit, nullptr);
  auto set = [&](const char* text) {
    LRESULT r = 0;
    EXPECT_TRUE(SendBounded(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), &r));
    return r;
  };
  set("before");
  ASSERT_EQ(vtt::WindowText(edit), "before");

  S().CatchFileNameText = 1;
  ctl_->Clear();
  set("C:\\diverted\\");
  set("");
  EXPECT_EQ(vtt::WindowText(edit), "before") << "the box keeps its text";
  auto texts = PanelRecords(vt::VTCD_SETTEXT);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].from, edit);
  EXPECT_EQ(texts[0].Text(), "C:\\diverted\\");
  EXPECT_EQ(texts[0].cbData, 13u);
  EXPECT_EQ(texts[1].cbData, 1u);

  // A null text, as SetWindowTextA(box, NULL) sends it inside the process.
  client_->Command(kCmdSetText);
  EXPECT_TRUE(client_->Answers());
  for (const CopyRecord& t : PanelRecords(vt::VTCD_SETTEXT)) {
    ASSERT_GE(t.cbData, 1u);
    EXPECT_EQ(t.bytes.back(), 0);
  }

  S().CatchFileNameText = 0;
  ctl_->Clear();
  set("after");
  EXPECT_EQ(vtt::WindowText(edit), "after");
  EXPECT_TRUE(PanelRecords(vt::VTCD_SETTEXT).empty());

  S().CatchFileNameText = 1;
  ctl_->Release(slot_);
  set("released");
  EXPECT_EQ(vtt::WindowText(edit), "released") << "a flag in a freed slot catches nothing";
}

TEST_F(SubclassTest, HostilePayloadsLeaveTheHostAliveAndAnswering) {
  HWND view = FolderView(dialog_);
  struct Case {
    const char* what;
    std::uint32_t kind;
    std::vector<char> data;
    bool nullData;
  };
  std::vector<char> big(1 << 20, 'A');                  // a megabyte without a NUL
  std::vector<char> shortText(1 << 20, 'B');            // a megabyte, text "zz" at the start
  std::memcpy(shortText.data(), "zz", 3);
  std::vector<char> longName(2000, 'S');                // longer than any item text
  longName.push_back('\0');
  std::vector<Case> cases = {
      {"no data", vt::VTCD_OPENITEM, {}, true},
      {"text without NUL", vt::VTCD_OPENITEM, {'S', 'u', 'b', ' ', 'O'}, false},
      {"megabyte without NUL", vt::VTCD_OPENITEM, big, false},
      {"huge size, short text", vt::VTCD_OPENITEM, shortText, false},
      {"name longer than the read buffer", vt::VTCD_OPENITEM, longName, false},
      {"kind 0", 0, {'x', 0}, false},
      {"kind 2", 2, {'x'}, false},
      {"kind -1", 0xFFFFFFFF, {1, 2, 3}, false},
      {"kind 0x46", 0x46, {1, 2, 3}, false},
      {"kind 0x12345678", 0x12345678, {}, false},
      // An identifier list whose first item claims 16 KB in a 6-byte payload.
      {"list count past the size", 0xFFFFFFFF, {0x00, 0x40, 'x', 'y', 0, 0}, false},
      {"list count past the size, kind 1", vt::VTCD_OPENITEM, {0x00, 0x40, 'x', 'y'}, false},
  };
  for (const Case& c : cases) {
    LRESULT r = 0;
    bool sent = SendCopy(dialog_, panel_, c.kind, c.nullData ? nullptr : c.data.data(),
                         static_cast<std::uint32_t>(c.data.size()), &r);
    EXPECT_TRUE(sent) << c.what;
    EXPECT_EQ(r, -1) << c.what;
    ASSERT_TRUE(client_->Process().Running()) << "the host died on: " << c.what;
  }

  // Records that only a caller inside the process can make: null records, bytes that end
  // where an unreadable page begins.
  ASSERT_EQ(client_->Command(kCmdHostile), kHostileCases);
  ASSERT_TRUE(client_->Process().Running()) << "the host died on an in-process record";
  auto results = client_->Data();
  ASSERT_EQ(results.size(), kHostileCases * 4u);
  for (int i = 0; i < kHostileCases; ++i) {
    std::int32_t v;
    std::memcpy(&v, results.data() + 4 * i, 4);
    EXPECT_EQ(v, -1) << "in-process case " << i;
  }

  EXPECT_TRUE(client_->Answers());
  std::vector<std::vector<std::uint8_t>> lists;
  EXPECT_EQ(GetFolder(&lists), 1);
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_TRUE(SamePath(PathOfList(lists[0]), folder_->NoSlash())) << "no hostile text opened anything";
  EXPECT_EQ(FolderView(dialog_), view);
}

}  // namespace
