// A hostile program on the desktop: it posts every message number of the protocol to a
// panel and to the controller with garbage, zero and pointer-like parameters, and sends
// malformed WM_COPYDATA of every kind. Afterwards everything must still work.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "protocol/Messages.h"
#include "support/Frozen.h"
#include "support/PanelHarness.h"
#include "protocol/Handle32.h"

namespace {

using namespace vtt;

constexpr UINT kOwnPosts[] = {vt::VTM_DIALOGMOVED, vt::VTM_PANELMOVED, vt::VTM_OPTIONSCLOSED,
                              vt::VTM_NUDGEDIALOG, vt::VTM_RESTOREDRAG};

void SendCopyData(HWND to, WPARAM from, ULONG_PTR kind, const void* data, DWORD size) {
  COPYDATASTRUCT cds{kind, size, const_cast<void*>(data)};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(to, WM_COPYDATA, from, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 2000, &ignored);
}

// Every kind any of our windows takes, each with records of the wrong size, texts without
// their NUL, oversized texts and broken identifier lists, claiming to come from `from`.
void SendMalformedCopyData(HWND to, WPARAM from) {
  static char big[0x9000];
  std::memset(big, 'x', sizeof big);
  const unsigned char badList[] = {0xFF, 0x7F, 1, 2, 0, 0};      // an item running past the data
  const unsigned char trailing[] = {4, 0, 9, 9, 0, 0, 7, 7};    // bytes behind the terminator
  const char noNul[] = {'A', 'B', 'C', 'D'};
  for (ULONG_PTR kind : {ULONG_PTR{vt::VTCD_ATTACH}, ULONG_PTR{vt::VTCD_PROGRAM}, ULONG_PTR{vt::VTCD_POSCHANGING},
                         ULONG_PTR{vt::VTCD_SHOW}, ULONG_PTR{vt::VTCD_DESTROY}, ULONG_PTR{vt::VTCD_CLOSE},
                         ULONG_PTR{vt::VTCD_NCACTIVATE}, ULONG_PTR{vt::VTCD_SETTEXT}, ULONG_PTR{vt::VTCD_FOLDER},
                         ULONG_PTR{0x99}}) {
    SendCopyData(to, from, kind, nullptr, 0);
    SendCopyData(to, from, kind, noNul, sizeof noNul);
    SendCopyData(to, from, kind, big, 15);
    SendCopyData(to, from, kind, big, 27);
    SendCopyData(to, from, kind, big, sizeof big);
    SendCopyData(to, from, kind, badList, sizeof badList);
    SendCopyData(to, from, kind, trailing, sizeof trailing);
  }
}

void PostGarbage(HWND to, UINT msg) {
  const WPARAM words[] = {0, 0x1234, 0xFFFFFFFF, 0x00400000, reinterpret_cast<WPARAM>(to)};
  for (int round = 0; round < 8; ++round)
    for (WPARAM w : words) PostMessageA(to, msg, w, static_cast<LPARAM>(words[(round + 1) % 5]));
}

TEST_F(Panel, AHostileProgramCannotBreakPanelsOrTheController) {
  StartController();
  Client& c = Open("Victim.exe");
  ASSERT_TRUE(c.WaitDialog());
  HWND panel = c.WaitPanel();
  ASSERT_TRUE(panel);
  HWND controller = TopWindow(controller_.Id(), "TVantrel");
  std::uint32_t panelObject = 0;
  {
    SharedView view;
    ASSERT_TRUE(view);
    for (const auto& slot : view->Slots)
      if (slot.PanelWindow == vt::Handle32(panel))
        panelObject = slot.PanelObject;
  }
  ASSERT_NE(panelObject, 0u);

  for (UINT msg : kOwnPosts) PostGarbage(panel, msg);
  // The panel's own object, published in the block, named in a release while it still works.
  PostMessageA(controller, vt::VTM_RELEASEPANEL, panelObject, 0);
  PostGarbage(controller, vt::VTM_RELEASEPANEL);
  // Timer messages with a callback address would be called by the dispatcher.
  for (HWND w : {panel, controller}) PostMessageA(w, WM_TIMER, 1, 0x00401000);
  // Owner-drawn items whose data would be taken for a caption's address.
  DRAWITEMSTRUCT dis{ODT_MENU, 0, 0, ODA_DRAWENTIRE, 0, nullptr, nullptr, {0, 0, 10, 10}, 0x12345678};
  SendMessageTimeoutA(panel, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), SMTO_ABORTIFHUNG, 2000, nullptr);
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0, 0, 0x12345678};
  SendMessageTimeoutA(panel, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), SMTO_ABORTIFHUNG, 2000, nullptr);
  for (WPARAM from : {WPARAM{0}, reinterpret_cast<WPARAM>(c.Dialog())}) {
    SendMalformedCopyData(panel, from);
    SendMalformedCopyData(controller, from);
  }
  // An attach for a window that is no dialog, and for the controller itself.
  const char name[] = "EVIL.EXE";
  SendCopyData(controller, reinterpret_cast<WPARAM>(controller), vt::VTCD_ATTACH, name, sizeof name);
  SendCopyData(controller, reinterpret_cast<WPARAM>(GetDesktopWindow()), vt::VTCD_ATTACH, name, sizeof name);
  Pump(1500);

  ASSERT_TRUE(controller_.Running()) << "Kestrum ended";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(controller, vt::VTM_IDENTIFY, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, vt::kIdentifyAnswer);
  ASSERT_EQ(PanelOf(c.Dialog()), panel) << "the panel was closed or replaced";
  EXPECT_EQ(TopWindows(controller_.Id(), kPanelClass).size(), 1u) << "no panel for a window that is no dialog";

  // It still follows its dialog.
  const RECT before = WindowRectOf(panel);
  const RECT d = WindowRectOf(c.Dialog());
  SetWindowPos(c.Dialog(), nullptr, d.left + 40, d.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitFor([&] { return WindowRectOf(panel).left == before.left + 40; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return Framed(panel, c.Dialog()); }, 5000));

  // Closing it frees its slot, and the next dialog gets a working panel.
  HWND dialog = c.Dialog();
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(SlotFreed(dialog));
  Client& next = Open("Next.exe");
  ASSERT_TRUE(next.WaitDialog());
  HWND second = next.WaitPanel();
  ASSERT_TRUE(second);
  EXPECT_TRUE(WaitFor([&] { return Framed(second, next.Dialog()); }, 5000));
}

// With Kestrum stopped, a program's new dialog waits on it for its look-up and attach (a few
// seconds), and its moves a second at most; once Kestrum's stamp in the block is stale (5 s)
// nothing waits at all; once Kestrum runs again, the next dialog is framed as ever.
TEST_F(Panel, AStoppedKestrumHoldsNoDialogForLong) {
  StartController();
  Frozen frozen(controller_.Id());
  ASSERT_TRUE(frozen.Any());
  Client& first = Open("Waiting.exe");
  ASSERT_TRUE(first.WaitDialog());
  EXPECT_LT(AnswerTime(first.Dialog(), 10000), 5000u) << "the dialog waited on the stopped program";
  const RECT r = WindowRectOf(first.Dialog());
  for (int i = 1; i <= 5; ++i) {
    SetWindowPos(first.Dialog(), nullptr, r.left + 7 * i, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    EXPECT_LT(AnswerTime(first.Dialog(), 10000), 1500u) << "move " << i;
  }
  Pump(5500);  // the stamp is stale from here on
  Client& second = Open("Second.exe");
  ASSERT_TRUE(second.WaitDialog());
  EXPECT_LT(AnswerTime(second.Dialog(), 10000), 1500u) << "a second program after Kestrum's stamp went stale";
  EXPECT_EQ(PanelOf(second.Dialog()), nullptr);

  frozen.Thaw();
  Client& later = Open("Later.exe");
  ASSERT_TRUE(later.WaitDialog());
  EXPECT_TRUE(later.WaitPanel()) << "no panel once Kestrum runs again";
  PostMessageA(later.Dialog(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(SlotFreed(later.Dialog()));
}

// What reaches a window of this test program: reports, enabling, and the request to look.
int g_decoyReceived = 0;
LRESULT CALLBACK DecoyProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COPYDATA || m == WM_ENABLE || m == vt::VTM_DIALOGENABLED) ++g_decoyReceived;
  return DefWindowProcA(w, m, wp, lp);
}

// A window of another program written into a dialog's slot gets nothing from the hook library:
// no reports, and it is never enabled or disabled for the dialog.
TEST_F(Panel, AWindowOfAnotherProgramInASlotGetsNothingFromTheDialog) {
  StartController();
  Client& c = Open("Victim.exe");
  ASSERT_TRUE(c.WaitDialog());
  HWND panel = c.WaitPanel();
  ASSERT_TRUE(panel);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DecoyProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VtDecoy";
  RegisterClassA(&wc);
  HWND decoy = CreateWindowExA(0, "VtDecoy", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(decoy);
  vtt::SharedView view;
  ASSERT_TRUE(view);
  vt::DialogSlot* slot = nullptr;
  for (auto& s : view->Slots)
    if (s.DialogWindow == vt::Handle32(c.Dialog())) slot = &s;
  ASSERT_TRUE(slot);
  slot->PanelWindow = vt::Handle32(decoy);
  const RECT d = WindowRectOf(c.Dialog());
  for (int i = 1; i <= 3; ++i) {
    SetWindowPos(c.Dialog(), nullptr, d.left + 5 * i, d.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(100);
  }
  EnableWindow(c.Dialog(), FALSE);
  EnableWindow(c.Dialog(), TRUE);
  Pump(1000);
  EXPECT_EQ(g_decoyReceived, 0);
  EXPECT_TRUE(IsWindowEnabled(decoy));
  slot->PanelWindow = vt::Handle32(panel);
  PostMessageA(c.Dialog(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(SlotFreed(c.Dialog()));
  DestroyWindow(decoy);
}

}  // namespace
