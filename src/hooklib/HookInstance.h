// Process-local state of one hook instance (one loaded copy of VT_brow.dll) and the small
// services every part of the library uses: the shared view, error reports, the controller
// window and the messages sent to other processes.
#pragma once
#include <windows.h>

#include <cstddef>

#include "protocol/SharedBlock.h"

namespace vt::hook {

struct Instance {
  HMODULE module;
  HANDLE mapping;
  SharedBlock* block;       // null: this instance does nothing but pass events on
  DWORD openError;          // why the view is missing (reported later: not from DllMain)
  HHOOK getMessageHook;     // kept here too, for a controller started without a block
  HHOOK callWndRetHook;
  HWND controller;          // cached FindControllerWindow result
  LONG pinned;              // the library stays loaded once it subclassed a window
};

// Zero-initialised: no constructor runs at load.
extern Instance g;

// Opens the controller's block if it exists (called once from DllMain; kernel32 only).
void OpenSharedBlock();
void CloseSharedBlock();

// The debug switch: the shared block's ShowErrors. Without a block it is off.
bool DebugOn();
// "Error - " + text in a message box, only when the debug switch is on.
void ReportError(const char* text);
// The "false" / "---" box of a failed item read, behind the same switch.
void ReportDebugBox(const char* text, const char* caption);

// The controller's main window (class "TVantrel", answering VTM_IDENTIFY), cached; 0 when
// none answers. A hung controller does not stall the caller: the identify waits 1 s at most.
HWND FindControllerWindow();

// The slot's panel window, when it belongs to the controller's process; 0 otherwise. Any
// program can write a window handle into the block: nothing is sent to, enabled or disabled
// for a window of another program.
HWND PanelOfSlot(const DialogSlot& slot);

// Program path of this process (kProgramPathMax + 1 bytes at out); returns its length.
std::size_t GetHostProgramPath(char* out);

// False while the controller's stamp in the block is stale: its thread has not run its watch
// timer for five seconds, and waiting on it would only stall this program.
bool ControllerAnswers();

// Sends WM_COPYDATA to the controller or a panel (both in the controller's process) and waits
// for the receiver, but gives up after `timeoutMs` or at once when the receiver's thread is
// hung, and sends nothing while ControllerAnswers() is false. So a program waits on a stopped
// controller for one time-out, perhaps two, and then not at all until its stamp moves again.
// Sent messages to this thread are still handled while it waits. Nothing is sent to 0. False
// when the receiver did not answer.
bool SendCopyData(HWND to, WPARAM wParam, DWORD kind, const void* data, DWORD size, UINT timeoutMs);

// The bounds: creating and showing a panel takes a few milliseconds (worst seen 11 ms under
// Wine), so 3 s is ample, and a user opening a dialog forgives a pause that short; a
// notification is handled at once, and 1 s is the most a move may stall.
inline constexpr UINT kAttachTimeoutMs = 3000;
inline constexpr UINT kNotifyTimeoutMs = 1000;
inline constexpr UINT kQueryTimeoutMs = 1000;

// Keeps the library in this process for good: windows subclassed here call into it until
// they are destroyed, even after RemoveHook lets the system unload it.
void PinLibrary();

}  // namespace vt::hook
