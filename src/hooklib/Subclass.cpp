#include "hooklib/Subclass.h"

#include <cstring>

#include "hooklib/HookInstance.h"
#include "hooklib/SlotRules.h"
#include "protocol/CopyData.h"
#include "protocol/Messages.h"
#include "protocol/Handle32.h"

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

// Each subclassed window keeps the procedure it had in a property of its own: two dialogs of
// one process may have different procedures, and a pointer-sized property holds either
// bitness's address.
constexpr char kSavedProcProp[] = "VT_brow.SavedProc";

WNDPROC SavedProc(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kSavedProcProp)); }

LRESULT CallSaved(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT (WINAPI* fallback)(HWND, UINT, WPARAM, LPARAM)) {
  WNDPROC saved = SavedProc(window);
  if (message == WM_NCDESTROY) RemovePropA(window, kSavedProcProp);
  if (!saved) return fallback(window, message, wParam, lParam);
  return CallWindowProcA(saved, window, message, wParam, lParam);
}

LRESULT CallSaved(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallSaved(window, message, wParam, lParam, DefDlgProcA);
}

// The system's record in this process's bitness, as the fixed 28 bytes every panel reads.
WindowPos32 ToWire(const WINDOWPOS& p) {
  return {Handle32(p.hwnd), Handle32(p.hwndInsertAfter), p.x, p.y, p.cx, p.cy, static_cast<std::uint32_t>(p.flags)};
}

void Notify(const DialogSlot& slot, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  NotifyRecord record{message, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam), 0};
  SendCopyData(PanelOfSlot(slot), reinterpret_cast<WPARAM>(dialog), message, &record, sizeof record,
               kNotifyTimeoutMs);
}

bool PanelMaximized(const DialogSlot& slot) {
  return (GetWindowLongA(FromHandle32<HWND>(slot.PanelWindow), GWL_STYLE) & WS_MAXIMIZE) != 0;
}

// The panel reads and changes the dialog's styles only; window and dialog procedures,
// instance and user data are pointers of this process, which no other process may read or set.
bool StyleIndex(WPARAM index) { return IsStyleIndex(static_cast<std::int32_t>(index)); }

// The smallest size the dialog takes, as the dialog itself answers the system's question:
// asked, not measured by sizing it, which would have it rebuild its folder view.
LRESULT MinimumSize(HWND dialog) {
  MINMAXINFO mmi{};
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  mmi.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  const auto word = [](LONG v) { return static_cast<LRESULT>(v < 0 ? 0 : v > 0xFFFF ? 0xFFFF : v); };
  return word(mmi.ptMinTrackSize.x) | (word(mmi.ptMinTrackSize.y) << 16);
}

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

bool InstallSubclass(HWND window, WNDPROC proc) {
  WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (!current || current == proc || GetPropA(window, kSavedProcProp)) return false;
  // Saved before the switch: the first message through proc needs it.
  if (!SetPropA(window, kSavedProcProp, reinterpret_cast<HANDLE>(current))) return false;
  PinLibrary();
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  return true;
}

LRESULT CALLBACK DialogSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SharedBlock* block = g.block;
  if (!LookedAt(message) || !block) return CallSaved(window, message, wParam, lParam);
  int n = FindDialogSlot(*block, Handle32(window));
  if (n < 0) return CallSaved(window, message, wParam, lParam);
  const DialogSlot slot = ReadSlot(*block, n);
  const bool active = slot.State == kSlotActive;
  HWND panel = PanelOfSlot(slot);
  // A controller that ended without releasing (killed, crashed) leaves its slots behind, and a
  // slot can name a window that is no panel of Kestrum's: the dialog is on its own then and
  // must paint, size and close as if never framed.
  if (!panel) return CallSaved(window, message, wParam, lParam);

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
      const WindowPos32 copy = ToWire(*pos);
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
      // Enabling a window of another process waits on it: the panel is asked to look instead.
      if ((IsWindowEnabled(panel) != FALSE) != (wParam != 0)) PostMessageA(panel, VTM_DIALOGENABLED, 0, 0);
      break;
    case WM_NCPAINT:
      return 0;
    case WM_COPYDATA:
      return OnCopyData(window, lParam);
    case VTM_GETFOLDER:
      return ReportDialogFolder(slot);
    case VTM_GETWINDOWLONG:
      if (lParam != 0) break;  // not the panel's request: the dialog's own message
      if (static_cast<std::int32_t>(wParam) == kMinimumSizeIndex) return MinimumSize(window);
      // Styles are 32-bit values in both bitnesses: the answer is the same either way.
      return StyleIndex(wParam) ? static_cast<LRESULT>(GetWindowLongA(window, static_cast<int>(wParam))) : 0;
    case VTM_SETWINDOWLONG:
      if (StyleIndex(wParam)) SetWindowLongA(window, static_cast<int>(wParam), static_cast<LONG>(lParam));
      else if (static_cast<std::int32_t>(wParam) == kEnableIndex && lParam >= 0 && lParam <= 1)
        EnableWindow(window, lParam != 0);
      return 0;
    default:
      break;
  }

  LRESULT result = CallSaved(window, message, wParam, lParam);
  if (message == WM_GETMINMAXINFO && active) ApplyMinMax(slot, lParam);
  if (message == WM_NCACTIVATE) Notify(slot, window, message, wParam, lParam);
  return result;
}

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SharedBlock* block = g.block;
  if (message != WM_SETTEXT || !block) return CallSaved(window, message, wParam, lParam, DefWindowProcA);
  HWND parent = GetParent(window);
  HWND outer = parent ? GetParent(GetParent(parent)) : nullptr;
  int n = FindEditSlot(*block, Handle32(parent), Handle32(outer));
  if (n < 0) return CallSaved(window, message, wParam, lParam, DefWindowProcA);
  const DialogSlot slot = ReadSlot(*block, n);
  // Nobody would ever give a caught text back to a panel that is gone.
  if (!slot.CatchFileNameText || !IsWindow(FromHandle32<HWND>(slot.PanelWindow)))
    return CallSaved(window, message, wParam, lParam, DefWindowProcA);

  // The text the box is given, by its own program or copied by the system from another.
  const char* text = reinterpret_cast<const char*>(lParam);
  if (!text) text = "";  // WM_SETTEXT with no text sets the empty one
  std::size_t length = strnlen(text, kMaxSetText);
  if (length == kMaxSetText) return 0;  // no end within reach: nothing is passed on or sent
  SendCopyData(PanelOfSlot(slot), reinterpret_cast<WPARAM>(window), VTCD_SETTEXT, text,
               static_cast<DWORD>(length + 1), kNotifyTimeoutMs);
  return 0;
}

}  // namespace vt::hook
