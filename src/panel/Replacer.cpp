// The panel form's life: creation around a dialog, the messages of the system, of the hook
// library and of its own posts routed to its parts, closing and release.
#include "panel/Replacer.h"

#include "protocol/CopyData.h"
#include "protocol/Slots.h"
#include "protocol/Handle32.h"
#include "util/DialogChildren.h"

namespace vt {

namespace {
// 6 is the navigator's (kNavigationTimer).
enum TimerId : UINT_PTR { tmControl = 1, tmscan = 2, tmOpFolder = 3, tmHotLoad = 4, tmKeepAbove = 5 };
// After the dialog's activation, which may raise it over the panel.
constexpr UINT kKeepAboveMs = 50;
}  // namespace

bool TVTReplacer::RegisterWindowClass() {
  // Before any program waits in its attach for a panel's making: the first would pay for it.
  TQHotFoldersPanel::SystemSmallIcons();
  return PanelForm::RegisterClasses() &&
         Window::RegisterWindowClass(kPanelClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
}

TVTReplacer::TVTReplacer(const PanelEnvironment& env, DialogSlot& slot, const std::string& appName)
    : ctx_(env, slot, appName, *this) {
  ctx_.dialog = FromHandle32<HWND>(slot.DialogWindow);
}

// The window goes first, with its children, while every part still exists.
TVTReplacer::~TVTReplacer() { DestroyQuietly(); }

std::unique_ptr<TVTReplacer> TVTReplacer::Create(const PanelEnvironment& env, DialogSlot& slot,
                                                 const std::string& appName) {
  std::unique_ptr<TVTReplacer> panel(new TVTReplacer(env, slot, appName));
  slot.MoveGuard = kGuardIdle;
  slot.State = kSlotCreating;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  HMENU menu = panel->form_.MenuBar();
  panel->settings_.Read();
  const Size size = panel->settings_.StoredSize();
  if (!panel->CreateWindowOf(0, kPanelClass, "Vantrel", style, 0, 0, size.width, size.height, panel->ctx_.dialog, menu))
    return nullptr;
  panel->form_.MenuBarAdopted();
  panel->ctx_.channel.Attach(panel->Handle(), panel->ctx_.dialog);
  panel->form_.CreateComponents(panel->Handle());
  panel->preview_.Create();
  if (!env.debugMode) SetTimer(panel->Handle(), tmControl, 500, nullptr);  // DebugMode leaves drift uncorrected
  SetTimer(panel->Handle(), tmscan, 500, nullptr);
  panel->navigator_.Attach(panel->form_.Hot());
  panel->hot_.Attach(panel->form_.HotList(), panel->form_.UpBar(), panel->form_.DownBar());
  return panel;
}

void TVTReplacer::Show() {
  HWND wnd = Handle();
  if (!wnd) return;
  ctx_.slot.State = kSlotActive;
  link_.Attach();
  settings_.Load();
  char title[1024] = {};
  GetWindowTextA(ctx_.dialog, title, sizeof title);
  SetWindowTextA(wnd, title);
  ShowWindow(wnd, ctx_.Maximized() ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetFocus(form_.Hole());
  SetForegroundWindow(ctx_.dialog);
  link_.UpdateWindowRegion();
  Layout();
  SetTimer(wnd, tmOpFolder, 150, nullptr);
  // The shell names every hot folder and finds its icon: that waits until the attach is over
  // and the dialog's program runs on.
  SetTimer(wnd, tmHotLoad, USER_TIMER_MINIMUM, nullptr);
}

void TVTReplacer::Layout() {
  if (form_.Layout()) link_.HoleResized();
  preview_.Layout();
}

void TVTReplacer::ShowWithDialog(bool show) {
  if ((IsWindowVisible(Handle()) != FALSE) != show) ShowWindow(Handle(), show ? SW_SHOW : SW_HIDE);
}

bool TVTReplacer::FromOurDialog(WPARAM sender, UINT kind) const {
  const HWND from = reinterpret_cast<HWND>(sender);
  if (!from) return false;
  // The file-name box reports the texts set into it; everything else comes from the dialog.
  if (kind == VTCD_SETTEXT) return IsChild(ctx_.dialog, from) != FALSE;
  return from == ctx_.dialog;
}

LRESULT TVTReplacer::CopyData(WPARAM sender, const COPYDATASTRUCT* cds) {
  if (!cds || !ctx_.Active()) return 0;
  const CopyDataView cd{static_cast<std::uint32_t>(cds->dwData), cds->lpData, cds->cbData};
  if (!FromOurDialog(sender, cd.kind)) return 0;
  switch (cd.kind) {
    case VTCD_DESTROY:
      if (!DecodeNotify(cd)) break;
      ctx_.slot.State = kSlotClosing;
      if (!ctx_.closing) {
        CloseQuery();
        ClosePanel();
      }
      break;
    case VTCD_SHOW:
      if (const auto record = DecodeNotify(cd)) ShowWithDialog(record->WParam != 0);
      break;
    case VTCD_POSCHANGING:
      if (const auto pos = DecodeWindowPos(cd)) link_.DialogMoving(*pos);
      break;
    case VTCD_NCACTIVATE:
      if (const auto record = DecodeNotify(cd)) {
        link_.RepaintFrame();
        if (record->WParam) SetTimer(Handle(), tmKeepAbove, kKeepAboveMs, nullptr);
      }
      break;
    case VTCD_SETTEXT:
      if (const auto text = DecodeFileNameText(cd)) navigator_.TextCaught(*text);
      break;
    case VTCD_FOLDER:
      navigator_.FolderReported(DecodeFolder(cd));
      break;
    default:
      break;  // the dialog's WM_CLOSE among others
  }
  return 0;
}

void TVTReplacer::CloseQuery() {
  settings_.Save();
  ctx_.closing = true;
  if (ctx_.slot.State != kSlotClosing) PostMessageA(ctx_.dialog, WM_CLOSE, 0, 0);
}

void TVTReplacer::ClosePanel() {
  if (released_) return;
  // Closing from here on: hiding the panel must not hide the dialog with it.
  ctx_.slot.State = kSlotClosing;
  SetForegroundWindow(ctx_.dialog);
  constexpr UINT_PTR kTimers[] = {tmControl, tmscan, tmOpFolder, tmHotLoad, tmKeepAbove, kNavigationTimer};
  for (UINT_PTR timer : kTimers) KillTimer(Handle(), timer);
  navigator_.Release();
  preview_.Release();
  hot_.Release();
  ShowWindow(Handle(), SW_HIDE);
  Release();
}

// Its program ended without the dialog being destroyed (killed, crashed): nothing will report
// it, and the panel must not hold its slot and stay on screen for ever.
void TVTReplacer::CloseIfDialogGone() {
  if (released_ || IsWindow(ctx_.dialog)) return;
  ctx_.slot.State = kSlotClosing;
  CloseQuery();
  ClosePanel();
}

// The last step: the slot is free from here on, and the controller frees this object.
void TVTReplacer::Release() {
  ctx_.closing = true;
  released_ = true;
  link_.RememberBounds();
  // Only while the slot is still this panel's: cleared, another dialog's would be lost.
  if (ctx_.slot.PanelWindow == Handle32(Handle())) ReleaseSlot(ctx_.slot);
  PostMessageA(ctx_.env.controller, VTM_RELEASEPANEL, panelId_, 0);
}

LRESULT TVTReplacer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COPYDATA:
      return CopyData(wp, reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case VTM_PREVIEWREADY:
      preview_.PictureReady(wp);
      return 0;
    case VTM_DIALOGMOVED:
    case VTM_PANELMOVED:
    case VTM_NUDGEDIALOG:
    case VTM_RESTOREDRAG:
    case VTM_OPTIONSCLOSED:
    case VTM_DIALOGANSWERS:
      // Any program can post these numbers; only the panel's own posts carry its key.
      if (!IsOwnPost(lp)) return 0;
      if (msg == VTM_DIALOGANSWERS) ctx_.channel.Answered();
      else if (msg == VTM_NUDGEDIALOG) link_.NudgeDialog();
      else if (msg == VTM_RESTOREDRAG) link_.RestoreDrag();
      else if (msg == VTM_OPTIONSCLOSED) commands_.OptionsClosedArrived();
      else link_.RepaintAfterMove(msg, wp);
      return 0;
    case VTM_DIALOGENABLED:
      if (ctx_.Active()) EnableWindow(Handle(), IsWindowEnabled(ctx_.dialog));
      return 0;
    case WM_WINDOWPOSCHANGING:
      if (lp) link_.PanelMoving(*reinterpret_cast<const WINDOWPOS*>(lp));
      return Default(msg, wp, lp);
    case WM_WINDOWPOSCHANGED: {
      const LRESULT r = Default(msg, wp, lp);
      link_.PanelMoved();
      return r;
    }
    case WM_SHOWWINDOW:
      // The flag is the visibility the panel is about to have.
      if (ctx_.Active() && (IsWindowVisible(ctx_.dialog) != FALSE) != (wp != 0))
        ShowWindowAsync(ctx_.dialog, wp ? SW_SHOW : SW_HIDE);
      return Default(msg, wp, lp);
    case WM_ENABLE:
      // Enabling another program's window waits on it: the dialog's own thread does it.
      if ((IsWindowEnabled(ctx_.dialog) != FALSE) != (wp != 0))
        PostMessageA(ctx_.dialog, VTM_SETWINDOWLONG, static_cast<WPARAM>(kEnableIndex), wp != 0);
      link_.RepaintFrame();
      return 0;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED && ctx_.Active()) {
        ShowWindow(Handle(), SW_RESTORE);
        return 0;
      }
      Layout();
      return 0;
    case WM_GETMINMAXINFO:
      if (lp) form_.ApplyMinimumTrackSize(*reinterpret_cast<MINMAXINFO*>(lp));
      return 0;
    case WM_SYSCOMMAND:
      return link_.SysCommand(wp, lp);
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      const LRESULT r = Default(msg, wp, lp);
      link_.MouseMoved();
      return r;
    }
    case WM_LBUTTONUP: {
      const LRESULT r = Default(msg, wp, lp);
      link_.ButtonReleased();
      return r;
    }
    case WM_NCPAINT:
      link_.PaintNonClient(wp);
      return 0;
    case WM_SETTEXT: {
      // The standard caption would flash its own text before ours is drawn over it.
      const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
      SetWindowLongA(Handle(), GWL_STYLE, style & ~WS_VISIBLE);
      const LRESULT r = Default(msg, wp, lp);
      SetWindowLongA(Handle(), GWL_STYLE, style);
      link_.RepaintFrame();
      return r;
    }
    case WM_NCACTIVATE:
      link_.RepaintFrame();
      return TRUE;
    case WM_MEASUREITEM:
      if (lp && form_.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
      return Default(msg, wp, lp);
    case WM_DRAWITEM:
      if (lp && form_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      return Default(msg, wp, lp);
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0) commands_.Run(LOWORD(wp));
      return 0;
    case WM_VT_SPLITDONE:
      if (form_.SplitDone(reinterpret_cast<HWND>(wp), static_cast<LONG>(lp))) {
        Layout();
        // The hole moved inside the panel: put the dialog back under it (a move that changes
        // nothing still re-positions the dialog).
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    case WM_TIMER:
      if (wp == tmControl) {
        link_.Resynchronise();
        link_.KeepAboveDialog();
        // A show or hide the dialog could not report (the controller was busy) is caught up.
        if (ctx_.Active() && IsWindow(ctx_.dialog)) ShowWithDialog(IsWindowVisible(ctx_.dialog) != FALSE);
      } else if (wp == tmscan) {
        const Navigator::ScanResult scan = navigator_.Scan();
        if (scan == Navigator::ScanResult::Reported) {
          if (!firstReport_) {
            firstReport_ = true;
            link_.RepaintDialog();
          }
          preview_.UpdatePreview(navigator_.CurrentFolder(), navigator_.SelectedItem());
        } else if (scan == Navigator::ScanResult::Gone) {
          CloseIfDialogGone();
        }
      } else if (wp == kNavigationTimer) {
        navigator_.Wait();
      } else if (wp == tmKeepAbove) {
        KillTimer(Handle(), tmKeepAbove);
        link_.KeepAboveDialog();
      } else if (wp == tmHotLoad) {
        KillTimer(Handle(), tmHotLoad);
        hot_.LoadHotFolders();
      } else if (wp == tmOpFolder) {
        // The item dialog makes its first folder view after it shows: a path typed before that
        // would be lost, and the program's own name saved too early. A dialog that did not
        // answer (its program busy) gets nothing typed: it is waited for too. A few rounds at most.
        const bool ready = ShownFolderView(ctx_.dialog) && ctx_.channel.Answering();
        if (!ready && ++startFolderRounds_ < kStartFolderRounds) return 0;
        KillTimer(Handle(), tmOpFolder);
        navigator_.OpenStartFolder(settings_.OpMode());
      }
      return 0;
    case WM_CLOSE:
      if (!released_) {
        CloseQuery();
        ClosePanel();
      }
      return 0;
    case WM_DESTROY:
      // The window can go with its owner, the dialog: the slot must not keep pointing here.
      if (!released_) Release();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vt
