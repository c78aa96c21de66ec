// The panel following its dialog and the dialog following the panel: the transform, the
// follow moves and their repaint, the window region, size limits, frame moves, caption
// buttons and the periodic re-synchronisation.
#include <algorithm>
#include <memory>

#include "hooklib/Protocol.h"
#include "panel/CaptionPaint.h"
#include "panel/Replacer.h"
#include "util/UtilsExe.h"

namespace vt {

namespace {

// Old and new rectangle of the window that moved, and the move itself: handed to the
// repaint that runs once the move is over.
struct MoveBlock {
  RECT before, after;
  WINDOWPOS pos;
};

Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

constexpr UINT kRepaintArea = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

}  // namespace

Rect TVTReplacer::HoleOnScreen() const {
  POINT origin{0, 0};
  ClientToScreen(pndlg, &origin);
  RECT c;
  GetClientRect(pndlg, &c);
  return MakeRect(origin.x, origin.y, std::int64_t{origin.x} + c.right, std::int64_t{origin.y} + c.bottom);
}

PanelFrame TVTReplacer::CurrentFrame() {
  PanelFrame f;
  RECT w;
  GetWindowRect(Wnd, &w);
  f.window = FromRECT(w);
  f.hole = HoleOnScreen();
  int fx = 0, fy = 0, cy = 0;
  GetFrameMetrics(fx, fy, cy, false);
  f.frame = FrameMetrics{fx, fy, cy};
  // The dialog replaces its folder view when it changes folder: look it up every time.
  LocateFolderView();
  RECT d{}, v{};
  const bool haveView = FolderView && GetWindowRect(FolderView, &v) && GetWindowRect(DialogWnd, &d);
  f.strip = HiddenStripWidth(haveView, v.left, d.left);
  return f;
}

void TVTReplacer::MoveDialogWithPanel(const WINDOWPOS& pos) {
  if (Slot.State != kSlotActive || Slot.MoveGuard != kGuardIdle) return;
  Slot.MoveGuard = kGuardPanelMovesDialog;
  // While the panel is maximised the dialog's minimum is its maximum: both must already fit
  // the state the panel is moving into, or the dialog overshoots the hole.
  RECT w;
  GetWindowRect(Wnd, &w);
  const Rect target = TargetOfWindowPos(FromRECT(w), pos.x, pos.y, pos.cx, pos.cy, pos.flags);
  UpdateDialogMaxSize(&target);
  auto block = std::make_unique<MoveBlock>();
  GetWindowRect(DialogWnd, &block->before);
  block->pos = pos;
  const Rect d = DialogRectForPanel(CurrentFrame(), target);
  SetWindowPos(DialogWnd, Wnd, d.left, d.top, static_cast<int>(d.Width()), static_cast<int>(d.Height()),
               FollowFlags(pos.flags, true));
  Slot.MoveGuard = kGuardIdle;
  GetWindowRect(DialogWnd, &block->after);
  if (PostMessageA(Wnd, VTM_DIALOGMOVED, reinterpret_cast<WPARAM>(block.get()), 0)) block.release();
}

void TVTReplacer::FollowDialog(const WINDOWPOS& pos) {
  if (Slot.State != kSlotActive || Slot.MoveGuard == kGuardPanelMovesDialog) return;
  Slot.MoveGuard = kGuardPanelFollows;
  auto block = std::make_unique<MoveBlock>();
  GetWindowRect(Wnd, &block->before);
  block->pos = pos;
  RECT d;
  GetWindowRect(DialogWnd, &d);
  const Rect target = TargetOfWindowPos(FromRECT(d), pos.x, pos.y, pos.cx, pos.cy, pos.flags);
  const Rect r = PanelRectForDialog(CurrentFrame(), target);
  SetWindowPos(Wnd, GetWindow(DialogWnd, GW_HWNDPREV), r.left, r.top, static_cast<int>(r.Width()),
               static_cast<int>(r.Height()), FollowFlags(pos.flags, false));
  Slot.MoveGuard = kGuardIdle;
  GetWindowRect(Wnd, &block->after);
  if (PostMessageA(Wnd, VTM_PANELMOVED, reinterpret_cast<WPARAM>(block.get()), 0)) block.release();
}

void TVTReplacer::RepaintAfterMove(UINT which, WPARAM wp) {
  std::unique_ptr<MoveBlock> block(reinterpret_cast<MoveBlock*>(wp));
  if (!block || Slot.State != kSlotActive) return;
  HRGN left = CreateRectRgnIndirect(&block->before);
  HRGN now = CreateRectRgnIndirect(&block->after);
  CombineRgn(left, left, now, RGN_DIFF);
  RedrawWindow(nullptr, nullptr, left, kRepaintArea);
  DeleteObject(left);
  DeleteObject(now);
  if (which == VTM_DIALOGMOVED)
    RedrawWindow(DialogWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW | RDW_FRAME);
  else
    RedrawWindow(Wnd, nullptr, nullptr, kRepaintArea);
}

void TVTReplacer::UpdateWindowRegion() {
  RECT w;
  GetWindowRect(Wnd, &w);
  const Rect hole = HoleOnScreen();
  HoleInWindow = MakeRect(std::int64_t{hole.left} - w.left, std::int64_t{hole.top} - w.top,
                          std::int64_t{hole.right} - w.left, std::int64_t{hole.bottom} - w.top);
  HRGN region = CreateRectRgn(0, 0, w.right - w.left, w.bottom - w.top);
  HRGN cut = CreateRectRgn(HoleInWindow.left, HoleInWindow.top, HoleInWindow.right, HoleInWindow.bottom);
  CombineRgn(region, region, cut, RGN_DIFF);
  DeleteObject(cut);
  if (!SetWindowRgn(Wnd, region, TRUE)) DeleteObject(region);  // the system owns it on success
}

void TVTReplacer::UpdateDialogMaxSize(const Rect* target) {
  const bool maximized = (GetWindowLongA(Wnd, GWL_STYLE) & WS_MAXIMIZE) != 0;
  int mx = GetSystemMetrics(maximized ? SM_CXMAXIMIZED : SM_CXMAXTRACK);
  int my = GetSystemMetrics(maximized ? SM_CYMAXIMIZED : SM_CYMAXTRACK);
  RECT w;
  if (maximized && (target || GetWindowRect(Wnd, &w))) {
    // The maximised panel's real size: the system's maximised metric can differ from it (it
    // does under Wine), and a dialog held at a minimum larger than the hole breaks the frame.
    const Rect r = target ? *target : FromRECT(w);
    mx = static_cast<int>(r.Width());
    my = static_cast<int>(r.Height());
  }
  const Rect d = DialogRectForPanel(CurrentFrame(), Rect{0, 0, mx, my});
  auto clamp16 = [](std::int64_t v) { return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, 0xFFFF)); };
  Slot.MaxWidth = clamp16(d.Width());
  Slot.MaxHeight = clamp16(d.Height());
}

int TVTReplacer::CaptionButtonUnderCursor() const {
  POINT p;
  RECT w;
  if (!GetCursorPos(&p) || !GetWindowRect(Wnd, &w)) return 0;
  CaptionButtonMetrics m;
  m.buttonWidth = GetSystemMetrics(SM_CXSIZE);
  m.buttonHeight = GetSystemMetrics(SM_CYSIZE);
  m.border = GetSystemMetrics(SM_CXBORDER);
  m.frame = FrameMetrics{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION)};
  return CaptionButtonAt(Point{p.x - w.left, p.y - w.top}, w.right - w.left, m);
}

LRESULT TVTReplacer::OnSysCommand(WPARAM wp, LPARAM lp) {
  const UINT command = static_cast<UINT>(wp) & 0xFFF0;
  if (command != SC_MOVE && command != SC_SIZE) return Default(WM_SYSCOMMAND, wp, lp);
  // Drag an outline: the dialog then follows once, when the panel is dropped.
  SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &SavedDragFullWindows, 0);
  SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
  PostMessageA(Wnd, VTM_RESTOREDRAG, 0, 0);
  if (const int button = CaptionButtonUnderCursor()) {
    PressedButton = button;
    HoverButton = button;
    SetCapture(Wnd);
    RepaintFrame();
    return 0;
  }
  if (GetWindowLongA(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Slot.PanelWindow)), GWL_STYLE) & WS_MAXIMIZE) return 0;
  return Default(WM_SYSCOMMAND, wp, lp);
}

void TVTReplacer::Resynchronise() {
  if (Slot.State != kSlotActive) return;
  RECT w, d;
  if (!GetWindowRect(Wnd, &w) || !GetWindowRect(DialogWnd, &d)) return;
  const PanelFrame f = CurrentFrame();
  if (DialogRectForPanel(f, FromRECT(w)) == FromRECT(d)) return;
  // The dialog's position wins; the panel's move then puts the dialog where it already is.
  const Rect r = PanelRectForDialog(f, FromRECT(d));
  MoveWindow(Wnd, r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height()), TRUE);
}

void TVTReplacer::RepaintFrame() {
  if (!Wnd || !IsWindowVisible(Wnd)) return;
  CaptionLook look;
  const HWND fg = GetForegroundWindow();
  look.active = IsWindowEnabled(Wnd) && (fg == Wnd || fg == DialogWnd);
  look.maximized = (GetWindowLongA(Wnd, GWL_STYLE) & WS_MAXIMIZE) != 0;
  look.hoverButton = HoverButton;
  look.pressedButton = PressedButton;
  char title[1024] = {};
  GetWindowTextA(Wnd, title, sizeof title);
  look.title = title;
  PaintCaption(Wnd, look);
}

void TVTReplacer::OnNcPaint(WPARAM wp) {
  // The frame and menu bar get the system's painting; the caption bar is left out of it so
  // that the standard caption never shows before ours covers it.
  RECT w;
  GetWindowRect(Wnd, &w);
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME), cy = GetSystemMetrics(SM_CYCAPTION);
  HRGN area = CreateRectRgn(w.left, w.top, w.right, w.bottom);
  if (wp > 1) CombineRgn(area, reinterpret_cast<HRGN>(wp), nullptr, RGN_COPY);
  HRGN caption = CreateRectRgn(w.left + fx, w.top + fy, w.right - fx, w.top + fy + cy);
  CombineRgn(area, area, caption, RGN_DIFF);
  DeleteObject(caption);
  DefWindowProcA(Wnd, WM_NCPAINT, reinterpret_cast<WPARAM>(area), 0);
  DeleteObject(area);
  RepaintFrame();
}

}  // namespace vt
