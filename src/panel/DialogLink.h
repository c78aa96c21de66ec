// The panel's hold on its dialog: attaching (the dialog's minimum, its sizing frame), the two
// following directions (the dialog under the hole when the panel moves, the panel around the
// dialog when the dialog moves), the window region with its hole, the dialog's size limits,
// the periodic re-synchronisation, and the panel's own caption bar with its two buttons.
#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>

#include "panel/Geometry.h"
#include "panel/PanelContext.h"
#include "panel/PanelForm.h"
#include "protocol/Messages.h"

namespace vt {

class DialogLink {
 public:
  DialogLink(PanelContext& ctx, PanelForm& form) : ctx_(ctx), form_(form) {}

  // Measures the dialog's minimum size and gives it a sizing frame.
  void Attach();

  // The panel is about to move or size: the dialog goes with it.
  void PanelMoving(const WINDOWPOS& pos);
  // The dialog is about to move or size (reported by the hook library): the panel follows.
  void DialogMoving(const WindowPos32& pos);
  // One of the two posted repaints after a move; `sequence` names the move.
  void RepaintAfterMove(UINT which, WPARAM sequence);
  void PanelMoved();  // WM_WINDOWPOSCHANGED
  // Moves the dialog onto its own rectangle, which puts it back under the hole.
  void NudgeDialog();
  // The whole dialog drawn again; once more when its first folder report comes in, since the
  // dialog may fill its folder view after the attach.
  void RepaintDialog();
  void HoleResized();
  void UpdateWindowRegion();
  // tmControl: the dialog's position wins; the panel is put back around it.
  void Resynchronise();
  // The panel lies just above its dialog and covers its left strip. Windows keeps an owned
  // window above its owner, but a window system that raises the activated dialog itself
  // (Wine's X driver without a window manager) can put the dialog on top: the panel goes
  // back above it.
  void KeepAboveDialog();

  // Caption bar and frame.
  LRESULT SysCommand(WPARAM wParam, LPARAM lParam);
  void RestoreDrag();
  void MouseMoved();
  void ButtonReleased();
  void RepaintFrame();
  void PaintNonClient(WPARAM region);

  RECT NormalBounds() const { return normalBounds_; }
  RECT LastBounds() const { return lastRect_; }
  void RememberBounds() { GetWindowRect(ctx_.Wnd(), &lastRect_); }

 private:
  PanelFrame CurrentFrame() const;
  void UpdateDialogMaxSize(const Rect* target = nullptr);
  int CaptionButtonUnderCursor() const;
  void QueueRepaint(UINT which, const RECT& before, const RECT& after);

  struct PendingRepaint {
    std::uint32_t sequence;
    UINT which;
    RECT before, after;
  };
  PanelContext& ctx_;
  PanelForm& form_;
  std::deque<PendingRepaint> repaints_;
  std::uint32_t nextSequence_ = 1;
  BOOL savedDragFullWindows_ = TRUE;
  int pressedButton_ = 0, hoverButton_ = 0;
  mutable std::int32_t lastStrip_ = -1;  // the hidden strip while the dialog last had a view
  std::deque<Rect> ownMoves_;  // where the panel sent the dialog, until it reports each
  Rect regionHole_{};  // the region last set: the hole in the window, and the window's size
  Size regionSize_{};
  RECT normalBounds_{};
  RECT lastRect_{};
};

}  // namespace vt
