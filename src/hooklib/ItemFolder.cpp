// The item dialog's folder and single selected item, for the panel: asked of its explorer
// browser's own interfaces (shell browser, active view, folder view), inside the dialog's
// thread, bounded like every report and without exceptions.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "hooklib/DialogWindows.h"
#include "hooklib/MemoryProbe.h"
#include "hooklib/ShellAccess.h"
#include "hooklib/Subclass.h"
#include "util/Handles.h"
#include "util/IdList.h"

namespace vt::hook {

namespace {

// Its size once walked within bounds; 0 for none or a damaged one.
std::size_t CheckedSize(const HostItemList& list) { return list ? ItemListSizeProbed(list.get(), MemoryProbe()) : 0; }

// The dialog's active folder view and the folder it shows; false without them.
bool ActiveFolder(HWND dialog, ComPtr<IFolderView>* folderView, HostItemList* folder) {
  HWND host = ItemDialogBrowserHost(dialog);
  auto* browser = host ? reinterpret_cast<IShellBrowser*>(SendMessageA(host, kGetShellBrowser, 0, 0)) : nullptr;
  if (!browser) return false;
  ComPtr<IShellView> view;
  if (FAILED(browser->QueryActiveShellView(view.put())) || !view) return false;
  *folderView = view.As<IFolderView>(IID_IFolderView);
  ComPtr<IPersistFolder2> persist;
  if (!*folderView || FAILED((*folderView)->GetFolder(IID_IPersistFolder2, persist.put_void())) || !persist) return false;
  LPITEMIDLIST list = nullptr;
  if (FAILED(persist->GetCurFolder(&list))) return false;
  folder->reset(list);
  return CheckedSize(*folder) != 0;
}

}  // namespace

std::size_t ItemDialogFolderPath(HWND dialog, char* out) {
  using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
  auto path = LoadedExport<PathFn>("shell32.dll", "SHGetPathFromIDListA");
  ComPtr<IFolderView> folderView;
  HostItemList folder;
  out[0] = '\0';
  if (!path || !ActiveFolder(dialog, &folderView, &folder) || !path(folder.get(), out))
    return 0;
  return strnlen(out, MAX_PATH);
}

int ReportItemDialogFolder(const DialogSlot& slot, HWND dialog) {
  ComPtr<IFolderView> folderView;
  HostItemList folder;
  if (!ActiveFolder(dialog, &folderView, &folder)) return 0;
  const std::size_t folderSize = CheckedSize(folder);

  // The item, when exactly one is selected: the one the selection mark names.
  HostItemList item;
  int selected = 0, index = -1;
  std::size_t itemSize = 0;
  LPITEMIDLIST child = nullptr;
  if (SUCCEEDED(folderView->ItemCount(SVGIO_SELECTION, &selected)) && selected == 1 &&
      SUCCEEDED(folderView->GetSelectionMarkedItem(&index)) && index >= 0 && SUCCEEDED(folderView->Item(index, &child))) {
    item.reset(child);
    itemSize = CheckedSize(item);
  }
  return SendFolderReport(slot, dialog, folder.get(), folderSize, itemSize ? item.get() : nullptr, itemSize);
}

}  // namespace vt::hook
