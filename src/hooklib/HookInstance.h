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

// Program path of this process (kProgramPathMax + 1 bytes at out); returns its length.
std::size_t GetHostProgramPath(char* out);

// Sends WM_COPYDATA and waits for the receiver, but gives up after `timeoutMs` or at once
// when the receiver's thread is hung, so a stalled controller or panel never hangs the host.
// Sent messages to this thread are still handled while it waits. Nothing is sent to 0.
void SendCopyData(HWND to, WPARAM wParam, DWORD kind, const void* data, DWORD size, UINT timeoutMs);

inline constexpr UINT kAttachTimeoutMs = 10000;  // the controller creates and shows a panel
inline constexpr UINT kNotifyTimeoutMs = 5000;
inline constexpr UINT kQueryTimeoutMs = 1000;

// Keeps the library in this process for good: windows subclassed here call into it until
// they are destroyed, even after RemoveHook lets the system unload it.
void PinLibrary();

}  // namespace vt::hook
