#include "panel/Shortcut.h"

#include "settings/Product.h"
#include "util/AnsiText.h"
#include "util/Handles.h"
#include "util/IdList.h"

namespace vt {

bool CreateShortcut(LPCITEMIDLIST idList, const std::string& fileName, const std::string& description,
                    const std::string& arguments) {
  if (!idList || ItemListSize(idList) == 0) return false;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void())))
    link.reset();
  ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!link || !file) {
    MessageBoxA(nullptr, "Error shortcut", kApplicationTitle, MB_OK | MB_ICONERROR);
    return false;
  }
  link->SetArguments(arguments.c_str());
  link->SetDescription(description.c_str());
  link->SetIDList(idList);
  std::wstring wide = WideFromAnsi(fileName);
  return !wide.empty() && SUCCEEDED(file->Save(wide.c_str(), FALSE));
}

}  // namespace vt
