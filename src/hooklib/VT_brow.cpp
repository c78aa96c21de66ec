// The hook library: the two global hooks that load it into every process with windows, the
// detection of standard file dialogs there, and the attach report to the controller.
#include <windows.h>

#include <cstring>

#include "hooklib/DialogWindows.h"
#include "hooklib/HookInstance.h"
#include "hooklib/HostProgram.h"
#include "protocol/Messages.h"
#include "protocol/Slots.h"
#include "hooklib/Subclass.h"
#include "protocol/Handle32.h"

using namespace vt;
using namespace vt::hook;

namespace {

bool IsAttachedDialog(HWND window) {
  SharedBlock* block = g.block;
  return block && FindDialogSlot(*block, Handle32(window)) >= 0;
}

bool AttachSwitchedOff() {
  const volatile SharedBlock* block = g.block;
  return !block || block->NoAttachVTR != 0;
}

bool IsIgnoredProgram() {
  char path[kProgramPathMax + 1];
  std::size_t length = GetHostProgramPath(path);
  CharUpperBuffA(path, static_cast<DWORD>(length));
  return IsIgnoredName(*g.block, FileNamePart(std::string_view(path, length)));
}

void AttachToDialog(HWND dialog) {
  // A controller that does not answer gets no report, and the dialog stays as it was.
  if (!ControllerAnswers()) return;
  HWND controller = FindControllerWindow();
  if (!controller) return;
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  if (!(style & WS_THICKFRAME)) SetWindowLongA(dialog, GWL_STYLE, style | WS_THICKFRAME);
  char path[kProgramPathMax + 1];
  std::size_t length = GetHostProgramPath(path);
  std::string_view name = FileNamePart(std::string_view(path, length));
  // The controller claims a slot and shows the panel while this waits.
  const bool answered = SendCopyData(controller, reinterpret_cast<WPARAM>(dialog), VTCD_ATTACH, name.data(),
                                     static_cast<DWORD>(name.size() + 1), kAttachTimeoutMs);
  if (!IsWindow(dialog)) return;  // the program closed it meanwhile
  // Without an answer the dialog goes on as it was, unless the controller took it after all.
  if (!answered && FindDialogSlot(*g.block, Handle32(dialog)) < 0) {
    if (!(style & WS_THICKFRAME)) SetWindowLongA(dialog, GWL_STYLE, style);
    return;
  }
  InstallSubclass(dialog, DialogSubclassProc);
  if (HWND box = FileNameBoxOf(dialog)) InstallSubclass(box, EditSubclassProc);
}

// Checks in order of cost; the caller has already matched the message number.
void ConsiderDialog(HWND window) {
  if (!window || IsAttachedDialog(window) || !(IsFileDialog(window) || IsItemDialog(window))) return;
  if (AttachSwitchedOff() || IsIgnoredProgram()) return;
  AttachToDialog(window);
}

HHOOK StoredHook(bool getMessage) {
  const volatile SharedBlock* block = g.block;
  DWORD h = 0;
  if (block) h = getMessage ? block->GetMessageHook : block->CallWndRetHook;
  return h ? FromHandle32<HHOOK>(h)
           : (getMessage ? g.getMessageHook : g.callWndRetHook);
}

LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g.block) {
    const auto* cwp = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    UINT message = cwp->message;
    if (message == WM_WINDOWPOSCHANGING) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(cwp->lParam);
      // The system's own record: no check beyond null is needed on this hot path.
      if (pos && (pos->flags & SWP_SHOWWINDOW)) ConsiderDialog(cwp->hwnd);
    } else if (message == WM_SHOWWINDOW) {
      ConsiderDialog(cwp->hwnd);
    }
  }
  return CallNextHookEx(StoredHook(false), code, wParam, lParam);
}

void AnswerProgramQuery(HWND window) {
  char path[kProgramPathMax + 1];
  std::size_t length = GetHostProgramPath(path);
  if (!length) return;
  SendCopyData(FindControllerWindow(), reinterpret_cast<WPARAM>(window), VTCD_PROGRAM, path,
               static_cast<DWORD>(length + 1), kQueryTimeoutMs);
}

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message == WM_NULL && msg->wParam == kProgramQueryParam && g.block) AnswerProgramQuery(msg->hwnd);
  }
  return CallNextHookEx(StoredHook(true), code, wParam, lParam);
}

}  // namespace

extern "C" unsigned char SetHook() {
  HHOOK getMessage = SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, g.module, 0);
  HHOOK callWndRet = SetWindowsHookExA(WH_CALLWNDPROCRET, CallWndRetProc, g.module, 0);
  g.getMessageHook = getMessage;
  g.callWndRetHook = callWndRet;
  if (SharedBlock* block = g.block) {
    block->GetMessageHook = Handle32(getMessage);
    block->CallWndRetHook = Handle32(callWndRet);
  }
  return getMessage && callWndRet ? 1 : 0;
}

extern "C" unsigned char RemoveHook() {
  if (!UnhookWindowsHookEx(StoredHook(true))) return 0;
  return UnhookWindowsHookEx(StoredHook(false)) ? 1 : 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g.module = instance;
    DisableThreadLibraryCalls(instance);
    OpenSharedBlock();
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Unloaded by FreeLibrary: give the view back. At process end the system does it.
    CloseSharedBlock();
  }
  return TRUE;
}
