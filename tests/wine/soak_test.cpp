// The soak's short form: fifty dialog cycles over three programs at a time against the real
// resident program (scripts/soak.sh runs a thousand over ten and measures them; under Wine
// without a window manager ten at a time are more than the resident program keeps up with).
#include <cstdio>
#include <thread>

#include "protocol/Handle32.h"
#include "protocol/Messages.h"
#include "support/Frozen.h"
#include "support/PanelHarness.h"
#include "support/Soak.h"

namespace {

using namespace vtt;

TEST_F(Panel, FiftyDialogCyclesEndWithoutACrashAndWithEverySlotFree) {
  StartController();
  SoakRun run(*folder_, controller_, 3);
  EXPECT_TRUE(run.RunTo(50)) << run.Notes();
  run.CloseAll();
  const SoakCounts& c = run.Counts();
  EXPECT_EQ(c.crashes, 0) << run.Notes();
  // Slowness under load (a dialog without its panel, a late end) is the benchmark's to
  // measure; it is shown here, not judged.
  std::printf("%d dialogs, %d without a panel, %d ended late, %d slots freed late\n", c.cycles, c.unframed, c.hung,
              c.slowSlots);
  EXPECT_GE(c.handled, 9);
  EXPECT_TRUE(WaitFor([&] { return run.SlotsInUse() == 0; }, 4 * kWait)) << run.SlotsInUse() << " slots in use";
  EXPECT_TRUE(controller_.Running());
}

// Two dialogs of this program, the second attaching while Kestrum makes the first's panel:
// Kestrum's first question to the first dialog lets the second's attach in.
struct AttachTogether {
  HWND controller = nullptr, second = nullptr;
  WNDPROC proc = nullptr;
  bool sent = false, claimed = false, panelAtAnswer = false;
};
AttachTogether g_together;

void SendAttach(HWND controller, HWND dialog) {
  const char name[] = "TOGETHER.EXE";
  COPYDATASTRUCT cds{vt::VTCD_ATTACH, sizeof name, const_cast<char*>(name)};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(controller, WM_COPYDATA, reinterpret_cast<WPARAM>(dialog), reinterpret_cast<LPARAM>(&cds),
                      SMTO_ABORTIFHUNG, 5000, &ignored);
}

LRESULT CALLBACK FirstDialogProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == vt::VTM_GETWINDOWLONG && !g_together.sent) {
    g_together.sent = true;
    SendAttach(g_together.controller, g_together.second);
    SharedView view;
    for (int n = 0; view && n < vt::kSlotCount; ++n)
      if (view->Slots[n].DialogWindow == vt::Handle32(g_together.second)) {
        g_together.claimed = true;
        g_together.panelAtAnswer = view->Slots[n].PanelWindow != 0;
      }

  }
  return CallWindowProcA(g_together.proc, w, msg, wp, lp);
}

// The first program's attach is answered first; the one that came in meanwhile has its slot
// at once and its panel right after. Both panels close when their dialogs go without a word.
TEST_F(Panel, AnAttachThatComesInWhileAPanelIsMadeWaitsItsTurn) {
  StartController();
  g_together = AttachTogether{};
  g_together.controller = TopWindow(controller_.Id(), "TVantrel");
  HWND dialogs[2];
  for (HWND& d : dialogs) {
    d = CreateWindowExA(0, "#32770", "Together", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(d);
  }
  g_together.second = dialogs[1];
  g_together.proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(dialogs[0], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FirstDialogProc)));
  SendAttach(g_together.controller, dialogs[0]);
  ASSERT_TRUE(g_together.sent) << "Kestrum asked the first dialog nothing while making its panel";
  EXPECT_TRUE(g_together.claimed) << "the second dialog's slot was not claimed by its answer";
  EXPECT_FALSE(g_together.panelAtAnswer) << "the second panel was made inside the first one's making";
  HWND panels[2] = {};
  for (int i = 0; i < 2; ++i)
    EXPECT_TRUE(WaitFor([&] { return (panels[i] = PanelOf(dialogs[i])) != nullptr; }, kWait)) << "dialog " << i;
  for (HWND d : dialogs) DestroyWindow(d);
  for (HWND d : dialogs) EXPECT_TRUE(SlotFreed(d));
  for (HWND p : panels) EXPECT_TRUE(WaitFor([&] { return !IsWindow(p); }, kWait));
}

// A message waiting in Kestrum's queue (posted while it was stopped) is not kept behind a panel
// being made: the attach that comes with it is answered with its slot claimed, the panel follows.
TEST_F(Panel, AnAttachWithMessagesWaitingMakesItsPanelInTurn) {
  StartController();
  HWND controller = TopWindow(controller_.Id(), "TVantrel");
  HWND dialog = CreateWindowExA(0, "#32770", "In turn", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(controller && dialog);
  {
    Frozen stopped(controller_.Id());
    ASSERT_TRUE(stopped.Any());
    PostMessageA(controller, WM_NULL, 0, 0);
    std::thread attach([&] { SendAttach(controller, dialog); });
    Sleep(200);  // the attach is sent, and waits with the posted message
    stopped.Thaw();
    attach.join();
  }
  SharedView view;
  int n = -1;
  for (int i = 0; view && i < vt::kSlotCount; ++i)
    if (view->Slots[i].DialogWindow == vt::Handle32(dialog)) n = i;
  ASSERT_GE(n, 0) << "the attach claimed no slot";
  EXPECT_EQ(view->Slots[n].PanelWindow, 0u) << "the panel was made inside the attach";
  HWND panel = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (panel = PanelOf(dialog)) != nullptr; }, kWait));
  DestroyWindow(dialog);
  EXPECT_TRUE(SlotFreed(dialog));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(panel); }, kWait));
}

}  // namespace
