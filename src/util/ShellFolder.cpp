#include "util/ShellFolder.h"

#include "util/Handles.h"
#include "util/IdList.h"

namespace vt {

IShellFolder* DesktopFolder(HRESULT* hr) {
  IShellFolder* raw = nullptr;
  const HRESULT result = SHGetDesktopFolder(&raw);
  ComPtr<IShellFolder> folder(raw);
  if (hr) *hr = result;
  return SUCCEEDED(result) ? folder.release() : nullptr;
}

IShellFolder* FolderOfItemList(LPCITEMIDLIST list) {
  if (ItemListSize(list) == 0) return nullptr;
  LPITEMIDLIST raw = nullptr;
  const HRESULT hr = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw);
  const ItemListPtr desktopList(raw);
  const bool isDesktop = SUCCEEDED(hr) && desktopList && ItemListSame(desktopList.get(), list);
  ComPtr<IShellFolder> desktop(DesktopFolder());
  if (!desktop || isDesktop) return desktop.release();
  ComPtr<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.put_void()))) return nullptr;
  return folder.release();
}

}  // namespace vt
