#include "hooklib/Subclass.h"

#include <cstring>

#include "hooklib/HookInstance.h"
#include "hooklib/SlotRules.h"
#include "protocol/CopyData.h"
#include "protocol/Messages.h"

namespace vt::hook {

namespace {

constexpr UINT kMaxSetText = 0x8000;

bool LookedAt(UINT message) {
  switch (message) {
    case WM_DESTROY: case WM_SIZE: case WM_ENABLE: case WM_CLOSE: case WM_SHOWWINDOW:
    case WM_GETMINMAXINFO: case WM_WINDOWPOSCHANGING: case WM_COPYDATA: case WM_NCPAINT:
    case WM_NCACTIVATE: case WM_MOVING: case VTM_GETFOLDER: case VTM_GETWINDOWLONG: case VTM_SETWINDOWLONG:
      return true;
    default:
      return false;
  }
}

LRESULT CallSaved(WNDPROC saved, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!saved) return DefDlgProcA(window, message, wParam, lParam);
  return CallWindowProcA(saved, window, message, wParam, lParam);
}

DWORD Handle32(HWND window) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window)); }
HWND ToWindow(DWORD handle) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)); }

void Notify(const DialogSlot& slot, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  NotifyRecord record{message, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam), 0};
  SendCopyData(ToWindow(slot.PanelWindow), reinterpret_cast<WPARAM>(dialog), message, &record, sizeof record,
               kNotifyTimeoutMs);
}

bool PanelMaximized(const DialogSlot& slot) {
  return (GetWindowLongA(ToWindow(slot.PanelWindow), GWL_STYLE) & WS_MAXIMIZE) != 0;
}

// The panel reads and changes the dialog's styles only; window and dialog procedures,
// instance and user data are pointers of this process, which no other process may read or set.
bool StyleIndex(WPARAM index) { return IsStyleIndex(static_cast<std::int32_t>(index)); }

LRESULT OnCopyData(HWND dialog, LPARAM lParam) {
  // Across processes the system copied exactly cbData bytes; nothing past them is read.
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!cds) return -1;
  const CopyDataView cd{static_cast<std::uint32_t>(cds->dwData), cds->lpData, cds->cbData};
  if (const auto text = DecodeOpenItem(cd)) SelectAndOpenItem(text->data(), dialog);
  return -1;
}

// The system's own records (RECT of WM_MOVING, MINMAXINFO) are taken as given: checking them
// would cost every message of every dialog and prove nothing.
void KeepTopLeft(HWND dialog, LPARAM lParam) {
  auto* rc = reinterpret_cast<RECT*>(lParam);
  if (!rc) return;
  RECT now{};
  if (!GetWindowRect(dialog, &now)) return;
  // The size is kept too: moving only the left and top edges would resize the dialog.
  LONG width = rc->right - rc->left, height = rc->bottom - rc->top;
  rc->left = now.left;
  rc->top = now.top;
  rc->right = now.left + width;
  rc->bottom = now.top + height;
}

void ApplyMinMax(const DialogSlot& slot, LPARAM lParam) {
  auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
  if (!mmi) return;
  SizeLimits limits{{mmi->ptMaxSize.x, mmi->ptMaxSize.y},
                    {mmi->ptMaxTrackSize.x, mmi->ptMaxTrackSize.y},
                    {mmi->ptMinTrackSize.x, mmi->ptMinTrackSize.y}};
  if (!ApplySizeLimits(slot, slot.State == kSlotActive && PanelMaximized(slot), &limits)) return;
  mmi->ptMaxSize = {limits.maxSize.x, limits.maxSize.y};
  mmi->ptMaxTrackSize = {limits.maxTrackSize.x, limits.maxTrackSize.y};
  mmi->ptMinTrackSize = {limits.minTrackSize.x, limits.minTrackSize.y};
}

}  // namespace

bool InstallSubclass(HWND window, WNDPROC proc, WNDPROC* saved) {
  WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
  if (!current || current == proc) return false;
  WNDPROC known = *saved;
  if (known && known != current) return false;
  *saved = current;  // before the switch: the first message through proc needs it
  SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(proc));
  PinLibrary();
  return true;
}

LRESULT CALLBACK DialogSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC saved = g.dialogProc;
  SharedBlock* block = g.block;
  if (!LookedAt(message) || !block) return CallSaved(saved, window, message, wParam, lParam);
  int n = FindDialogSlot(*block, Handle32(window));
  if (n < 0) return CallSaved(saved, window, message, wParam, lParam);
  const DialogSlot slot = ReadSlot(*block, n);
  const bool active = slot.State == kSlotActive;
  HWND panel = ToWindow(slot.PanelWindow);

  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && active) {
        ShowWindow(window, SW_RESTORE);
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGING: {
      if (slot.MoveGuard == kGuardPanelMovesDialog) break;
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!pos) break;
      if (active && IsPureZOrderChange(pos->flags)) break;
      static_assert(sizeof(WINDOWPOS) == kWindowPosSize);
      WINDOWPOS copy = *pos;
      SendCopyData(panel, reinterpret_cast<WPARAM>(window), WM_WINDOWPOSCHANGING, &copy, sizeof copy,
                   kNotifyTimeoutMs);
      break;
    }
    case WM_MOVING:
      if (PanelMaximized(slot)) {
        KeepTopLeft(window, lParam);
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
    case WM_DESTROY:
    case WM_CLOSE:
      Notify(slot, window, message, wParam, lParam);
      break;
    case WM_ENABLE:
      if ((IsWindowEnabled(panel) != FALSE) != (wParam != 0)) EnableWindow(panel, wParam != 0);
      break;
    case WM_NCPAINT:
      return 0;
    case WM_COPYDATA:
      return OnCopyData(window, lParam);
    case VTM_GETFOLDER:
      return ReportDialogFolder(slot);
    case VTM_GETWINDOWLONG:
      if (lParam != 0) break;  // not the panel's request: the dialog's own message
      return StyleIndex(wParam) ? GetWindowLongA(window, static_cast<int>(wParam)) : 0;
    case VTM_SETWINDOWLONG:
      if (StyleIndex(wParam)) SetWindowLongA(window, static_cast<int>(wParam), static_cast<LONG>(lParam));
      return 0;
    default:
      break;
  }

  LRESULT result = CallSaved(saved, window, message, wParam, lParam);
  if (message == WM_GETMINMAXINFO && active) ApplyMinMax(slot, lParam);
  if (message == WM_NCACTIVATE) Notify(slot, window, message, wParam, lParam);
  return result;
}

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC saved = g.editProc;
  if (!saved) return DefWindowProcA(window, message, wParam, lParam);
  SharedBlock* block = g.block;
  if (message != WM_SETTEXT || !block) return CallWindowProcA(saved, window, message, wParam, lParam);
  HWND parent = GetParent(window);
  HWND outer = parent ? GetParent(GetParent(parent)) : nullptr;
  int n = FindEditSlot(*block, Handle32(parent), Handle32(outer));
  if (n < 0) return CallWindowProcA(saved, window, message, wParam, lParam);
  const DialogSlot slot = ReadSlot(*block, n);
  if (!slot.CatchFileNameText) return CallWindowProcA(saved, window, message, wParam, lParam);

  // The text the box is given, by its own program or copied by the system from another.
  const char* text = reinterpret_cast<const char*>(lParam);
  if (!text) text = "";  // WM_SETTEXT with no text sets the empty one
  std::size_t length = strnlen(text, kMaxSetText);
  if (length == kMaxSetText) return 0;  // no end within reach: nothing is passed on or sent
  SendCopyData(ToWindow(slot.PanelWindow), reinterpret_cast<WPARAM>(window), VTCD_SETTEXT, text,
               static_cast<DWORD>(length + 1), kNotifyTimeoutMs);
  return 0;
}

}  // namespace vt::hook
