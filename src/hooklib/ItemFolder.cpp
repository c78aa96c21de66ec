// The item dialog's folder and single selected item, for the panel: asked of its explorer
// browser's own interfaces (shell browser, active view, folder view), inside the dialog's
// thread, bounded like every report and without exceptions.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "hooklib/DialogWindows.h"
#include "hooklib/MemoryProbe.h"
#include "hooklib/Payload.h"
#include "hooklib/ShellAccess.h"
#include "hooklib/Subclass.h"

namespace vt::hook {

namespace {

// An identifier list the shell allocated for us.
class ShellList {
 public:
  ~ShellList() { FreeShellMemory(list_); }
  ShellList() = default;
  ShellList(const ShellList&) = delete;
  ShellList& operator=(const ShellList&) = delete;
  LPITEMIDLIST* out() { return &list_; }
  const void* get() const { return list_; }
  // Its size once walked within bounds; 0 for none or a damaged one.
  std::size_t CheckedSize() const { return list_ ? CheckedItemListSize(list_, MemoryProbe()) : 0; }

 private:
  LPITEMIDLIST list_ = nullptr;
};

// The dialog's active folder view and the folder it shows; false without them.
bool ActiveFolder(HWND dialog, ComRef<IFolderView>* folderView, ShellList* folder) {
  HWND host = ItemDialogBrowserHost(dialog);
  auto* browser = host ? reinterpret_cast<IShellBrowser*>(SendMessageA(host, kGetShellBrowser, 0, 0)) : nullptr;
  if (!browser) return false;
  ComRef<IShellView> view;
  if (FAILED(browser->QueryActiveShellView(view.out())) || !view.get()) return false;
  if (FAILED(view.get()->QueryInterface(IID_IFolderView, folderView->put())) || !folderView->get()) return false;
  ComRef<IPersistFolder2> persist;
  if (FAILED(folderView->get()->GetFolder(IID_IPersistFolder2, persist.put())) || !persist.get()) return false;
  return SUCCEEDED(persist.get()->GetCurFolder(folder->out())) && folder->CheckedSize() != 0;
}

}  // namespace

std::size_t ItemDialogFolderPath(HWND dialog, char* out) {
  using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
  auto path = LoadedExport<PathFn>("shell32.dll", "SHGetPathFromIDListA");
  ComRef<IFolderView> folderView;
  ShellList folder;
  out[0] = '\0';
  if (!path || !ActiveFolder(dialog, &folderView, &folder) ||
      !path(static_cast<LPCITEMIDLIST>(folder.get()), out))
    return 0;
  return strnlen(out, MAX_PATH);
}

int ReportItemDialogFolder(const DialogSlot& slot, HWND dialog) {
  ComRef<IFolderView> folderView;
  ShellList folder;
  if (!ActiveFolder(dialog, &folderView, &folder)) return 0;
  const std::size_t folderSize = folder.CheckedSize();

  // The item, when exactly one is selected: the one the selection mark names.
  ShellList item;
  int selected = 0, index = -1;
  std::size_t itemSize = 0;
  if (SUCCEEDED(folderView.get()->ItemCount(SVGIO_SELECTION, &selected)) && selected == 1 &&
      SUCCEEDED(folderView.get()->GetSelectionMarkedItem(&index)) && index >= 0 &&
      SUCCEEDED(folderView.get()->Item(index, item.out())))
    itemSize = item.CheckedSize();
  return SendFolderReport(slot, dialog, folder.get(), folderSize, itemSize ? item.get() : nullptr, itemSize);
}

}  // namespace vt::hook
