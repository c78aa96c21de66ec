// The window procedures that stand in front of an attached dialog's and its file-name box's,
// and the two requests from the panel that need code inside the dialog's process.
#pragma once
#include <windows.h>

#include "protocol/SharedBlock.h"

namespace vt::hook {

LRESULT CALLBACK DialogSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the procedure in front of the window's and keeps the previous one with the window
// itself, until it is destroyed. A window already subclassed is left alone (a second attach
// must not make the procedure call itself). False when nothing was changed.
bool InstallSubclass(HWND window, WNDPROC proc);

// Selects the dialog's list item whose text is exactly `text` and opens it through the
// dialog's own controls: a shortcut is followed by the dialog's shell browser, a folder gets
// Enter posted to the list itself, a file is only selected. False when there is no list or
// no such item.
bool SelectAndOpenItem(const char* text, HWND dialog);

// Reports the dialog's folder (and its single selected item) to the panel: -1 folder box
// dropped down, 0 nothing to report, 1 folder alone sent, 2 folder + item sent.
int ReportDialogFolder(const DialogSlot& slot);
// The same for the item dialog, read through its explorer browser's interfaces.
int ReportItemDialogFolder(const DialogSlot& slot, HWND dialog);
// The item dialog's folder as a path into out (MAX_PATH bytes); its length, 0 without one.
std::size_t ItemDialogFolderPath(HWND dialog, char* out);
// Sends the folder's checked list, joined with the selected item's when there is one (itemSize
// 0: none), to the slot's panel; 2 when the item went with it, else 1.
int SendFolderReport(const DialogSlot& slot, HWND dialog, const void* folder, std::size_t folderSize, const void* item,
                     std::size_t itemSize);

}  // namespace vt::hook
