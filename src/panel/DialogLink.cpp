#include "panel/DialogLink.h"

#include <algorithm>

#include "util/DialogChildren.h"
#include "protocol/Slots.h"
#include "util/Handles.h"
#include "util/FrameMetrics.h"

namespace vt {

namespace {

Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

constexpr UINT kRepaintArea = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;
constexpr UINT kForeignRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;
// Moves pile up only while the panel's thread is busy; older repaints beyond this are merged
// away by the newer ones, which cover the window's present place.
constexpr std::size_t kMaxPendingRepaints = 32;

std::uint16_t Clamp16(std::int64_t v) { return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, 0xFFFF)); }

}  // namespace

void DialogLink::Attach() {
  HWND dialog = ctx_.dialog;
  RECT o;
  GetWindowRect(dialog, &o);
  // The dialog's own thread measures its minimum tracking size; a dialog that does not
  // answer keeps the size it has as its minimum.
  LRESULT minimum = 0, style = 0;
  ctx_.channel.Send(VTM_GETWINDOWLONG, static_cast<WPARAM>(kMinimumSizeIndex), 0, &minimum);
  int minWidth = LOWORD(minimum), minHeight = HIWORD(minimum);
  if (minHeight < 100) {
    minWidth = o.right - o.left;
    minHeight = o.bottom - o.top;
  }
  ctx_.slot.MinWidth = Clamp16(minWidth);
  ctx_.slot.MinHeight = Clamp16(minHeight);
  if (ctx_.channel.Send(VTM_GETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), 0, &style))
    ctx_.channel.Send(VTM_SETWINDOWLONG, static_cast<WPARAM>(GWL_STYLE), style | WS_THICKFRAME);
  const PanelFrame f = CurrentFrame();
  DockLayout& boxes = form_.Boxes();
  boxes.SetMinimum(form_.bxDlg, Size{std::max(0, ctx_.slot.MinWidth - 2 * f.frame.fx - f.strip),
                                     std::max(0, ctx_.slot.MinHeight - 2 * f.frame.fy - f.frame.cy)});
  boxes.SetSplitMinimum(form_.bxSplitLeft, std::max(f.strip, 50));
}

PanelFrame DialogLink::CurrentFrame() const {
  PanelFrame f;
  RECT w;
  GetWindowRect(ctx_.Wnd(), &w);
  f.window = FromRECT(w);
  f.hole = form_.HoleOnScreen();
  int fx = 0, fy = 0, cy = 0;
  GetFrameMetrics(fx, fy, cy, false);
  f.frame = FrameMetrics{fx, fy, cy};
  // The dialog replaces its folder view when it changes folder: look it up every time.
  const HWND view = FolderViewOf(ctx_.dialog).view;
  RECT d{}, v{};
  const bool haveView = view && GetWindowRect(view, &v) && GetWindowRect(ctx_.dialog, &d);
  // Between two views, and while the dialog closes (it drops its view before it is destroyed),
  // the strip is the one last seen: the panel must not grow over it and be saved that way.
  if (haveView) lastStrip_ = HiddenStripWidth(true, v.left, d.left);
  f.strip = lastStrip_ >= 0 ? lastStrip_ : HiddenStripWidth(false, 0, 0);
  return f;
}

void DialogLink::QueueRepaint(UINT which, const RECT& before, const RECT& after) {
  const std::uint32_t sequence = nextSequence_++;
  if (repaints_.size() >= kMaxPendingRepaints) repaints_.pop_front();
  repaints_.push_back(PendingRepaint{sequence, which, before, after});
  if (!ctx_.Post(which, sequence)) repaints_.pop_back();
}

void DialogLink::PanelMoving(const WINDOWPOS& pos) {
  DialogSlot& slot = ctx_.slot;
  if (!ctx_.Active() || slot.MoveGuard != kGuardIdle || IsPureZOrderChange(pos.flags)) return;
  slot.MoveGuard = kGuardPanelMovesDialog;
  // While the panel is maximised the dialog's minimum is its maximum: both must already fit
  // the state the panel is moving into, or the dialog overshoots the hole.
  RECT w, before;
  GetWindowRect(ctx_.Wnd(), &w);
  const Rect target = TargetOfWindowPos(FromRECT(w), pos.x, pos.y, pos.cx, pos.cy, pos.flags);
  UpdateDialogMaxSize(&target);
  GetWindowRect(ctx_.dialog, &before);
  const Rect d = DialogRectForPanel(CurrentFrame(), target);
  // Asynchronous: the dialog's program may not be answering. Its report of this move comes
  // back later and is known by its rectangle.
  if (ownMoves_.size() >= kMaxPendingRepaints) ownMoves_.pop_front();
  ownMoves_.push_back(d);
  SetWindowPos(ctx_.dialog, ctx_.Wnd(), d.left, d.top, static_cast<int>(d.Width()), static_cast<int>(d.Height()),
               FollowFlags(pos.flags, true) | SWP_ASYNCWINDOWPOS);
  slot.MoveGuard = kGuardIdle;
  QueueRepaint(VTM_DIALOGMOVED, before, RECT{d.left, d.top, d.right, d.bottom});
}

void DialogLink::DialogMoving(const WindowPos32& pos) {
  DialogSlot& slot = ctx_.slot;
  if (!ctx_.Active() || slot.MoveGuard == kGuardPanelMovesDialog) return;
  slot.MoveGuard = kGuardPanelFollows;
  RECT before, after, d;
  GetWindowRect(ctx_.Wnd(), &before);
  GetWindowRect(ctx_.dialog, &d);
  const Rect target = TargetOfWindowPos(FromRECT(d), pos.X, pos.Y, pos.Cx, pos.Cy, pos.Flags);
  // The dialog arriving where the panel sent it (the moves arrive in order): the panel is
  // there already.
  const auto own = std::find(ownMoves_.begin(), ownMoves_.end(), target);
  const bool echo = own != ownMoves_.end();
  ownMoves_.erase(ownMoves_.begin(), echo ? own + 1 : ownMoves_.end());
  if (echo) {
    slot.MoveGuard = kGuardIdle;
    return;
  }
  const Rect r = PanelRectForDialog(CurrentFrame(), target);
  SetWindowPos(ctx_.Wnd(), GetWindow(ctx_.dialog, GW_HWNDPREV), r.left, r.top, static_cast<int>(r.Width()),
               static_cast<int>(r.Height()), FollowFlags(pos.Flags, false));
  slot.MoveGuard = kGuardIdle;
  GetWindowRect(ctx_.Wnd(), &after);
  QueueRepaint(VTM_PANELMOVED, before, after);
}

void DialogLink::RepaintAfterMove(UINT which, WPARAM sequence) {
  auto it = std::find_if(repaints_.begin(), repaints_.end(),
                         [&](const PendingRepaint& p) { return p.sequence == sequence && p.which == which; });
  if (it == repaints_.end()) return;  // not a move of ours, or one already repainted
  const PendingRepaint r = *it;
  repaints_.erase(it);
  if (!ctx_.Active()) return;
  UniqueRegion left(CreateRectRgnIndirect(&r.before));
  UniqueRegion now(CreateRectRgnIndirect(&r.after));
  CombineRgn(left.get(), left.get(), now.get(), RGN_DIFF);
  // What the move uncovered, and the dialog, belong to other programs: they are only marked
  // for painting, which their own threads do, since painting them now would wait on them.
  RedrawWindow(nullptr, nullptr, left.get(), kForeignRepaint);
  if (which == VTM_DIALOGMOVED)
    RedrawWindow(ctx_.dialog, nullptr, nullptr, kForeignRepaint);
  else
    RedrawWindow(ctx_.Wnd(), nullptr, nullptr, kRepaintArea);
}

void DialogLink::PanelMoved() {
  RECT wr;
  GetWindowRect(ctx_.Wnd(), &wr);
  if (IsOnScreen(wr.left, wr.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) && !ctx_.Maximized())
    normalBounds_ = wr;
}

void DialogLink::NudgeDialog() {
  RECT d;
  if (GetWindowRect(ctx_.dialog, &d))
    SetWindowPos(ctx_.dialog, nullptr, d.left, d.top, d.right - d.left, d.bottom - d.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  RepaintDialog();
}

// The size probe of the attach moves the dialog without repainting it, and a move that changes
// nothing repaints nothing: without this the folder view can stay blank until it is scrolled.
void DialogLink::RepaintDialog() {
  RedrawWindow(ctx_.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void DialogLink::HoleResized() {
  UpdateWindowRegion();
  UpdateDialogMaxSize();
}

void DialogLink::UpdateWindowRegion() {
  RECT w;
  GetWindowRect(ctx_.Wnd(), &w);
  const Rect hole = form_.HoleOnScreen();
  const Rect in = MakeRect(std::int64_t{hole.left} - w.left, std::int64_t{hole.top} - w.top,
                           std::int64_t{hole.right} - w.left, std::int64_t{hole.bottom} - w.top);
  // Setting it again repaints the whole panel and tells the window server the shape anew.
  const Size size{w.right - w.left, w.bottom - w.top};
  if (in == regionHole_ && size == regionSize_) return;
  UniqueRegion region(CreateRectRgn(0, 0, size.width, size.height));
  UniqueRegion cut(CreateRectRgn(in.left, in.top, in.right, in.bottom));
  CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
  // The system owns the region once it is set.
  if (!SetWindowRgn(ctx_.Wnd(), region.get(), TRUE)) return;
  (void)region.release();
  regionHole_ = in;
  regionSize_ = size;
}

void DialogLink::UpdateDialogMaxSize(const Rect* target) {
  const bool maximized = ctx_.Maximized();
  int mx = GetSystemMetrics(maximized ? SM_CXMAXIMIZED : SM_CXMAXTRACK);
  int my = GetSystemMetrics(maximized ? SM_CYMAXIMIZED : SM_CYMAXTRACK);
  RECT w;
  if (maximized && (target || GetWindowRect(ctx_.Wnd(), &w))) {
    // The maximised panel's real size: the system's maximised metric can differ from it (it
    // does under Wine), and a dialog held at a minimum larger than the hole breaks the frame.
    const Rect r = target ? *target : FromRECT(w);
    mx = static_cast<int>(r.Width());
    my = static_cast<int>(r.Height());
  }
  const Rect d = DialogRectForPanel(CurrentFrame(), Rect{0, 0, mx, my});
  ctx_.slot.MaxWidth = Clamp16(d.Width());
  ctx_.slot.MaxHeight = Clamp16(d.Height());
}

void DialogLink::Resynchronise() {
  if (!ctx_.Active()) return;
  RECT w, d;
  if (!GetWindowRect(ctx_.Wnd(), &w) || !GetWindowRect(ctx_.dialog, &d)) return;
  const PanelFrame f = CurrentFrame();
  if (DialogRectForPanel(f, FromRECT(w)) == FromRECT(d)) return;
  // The dialog's position wins; the panel's move then puts the dialog where it already is.
  const Rect r = PanelRectForDialog(f, FromRECT(d));
  MoveWindow(ctx_.Wnd(), r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height()), TRUE);
}

void DialogLink::KeepAboveDialog() {
  if (!ctx_.Active() || !IsWindowVisible(ctx_.Wnd()) || !IsWindowVisible(ctx_.dialog)) return;
  // Bounded: the dialog is normally the very next window.
  constexpr int kWindowsLooked = 64;
  HWND below = ctx_.Wnd();
  for (int i = 0; i < kWindowsLooked && (below = GetWindow(below, GW_HWNDNEXT)); ++i)
    if (below == ctx_.dialog) return;
  HWND above = GetWindow(ctx_.dialog, GW_HWNDPREV);
  SetWindowPos(ctx_.Wnd(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace vt
