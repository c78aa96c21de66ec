#include "util/ShellFolder.h"

#include "util/IdList.h"
#include "util/ShellIdList.h"

namespace vt {

ComPtr<IShellFolder> DesktopFolder(HRESULT* hr) {
  ComPtr<IShellFolder> folder;
  const HRESULT result = SHGetDesktopFolder(folder.put());
  if (hr) *hr = result;
  if (FAILED(result)) folder.reset();
  return folder;
}

ComPtr<IShellFolder> FolderOfItemList(LPCITEMIDLIST list) {
  if (ItemListSize(list) == 0) return {};
  LPITEMIDLIST raw = nullptr;
  const HRESULT hr = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw);
  const ItemListPtr desktopList(raw);
  const bool isDesktop = SUCCEEDED(hr) && desktopList && ItemListSame(desktopList.get(), list);
  ComPtr<IShellFolder> desktop = DesktopFolder();
  if (!desktop || isDesktop) return desktop;
  ComPtr<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.put_void()))) folder.reset();
  return folder;
}

}  // namespace vt
