#include "util/FileFacts.h"

#include <cstring>

#include "util/FileDate.h"
#include "util/Handles.h"
#include "util/ShellFolder.h"
#include "util/ShellIdList.h"

namespace vt {

void FileInfoOfItem(LPCITEMIDLIST list, std::int64_t& size, double& date) {
  size = -1;
  date = -1.0;
  if (ItemListSize(list) <= 2) return;  // no list, a damaged one, or the desktop: no file
  ItemListPtr parent = ItemListCopy(list);
  const ItemListPtr child = ItemListLastCopy(list);
  if (!parent || !child) return;
  ItemListCutLast(parent.get());
  const ComPtr<IShellFolder> folder = FolderOfItemList(parent.get());
  if (!folder) return;
  WIN32_FIND_DATAA data;
  std::memset(&data, 0, sizeof data);
  if (SHGetDataFromIDListA(folder.get(), child.get(), SHGDFIL_FINDDATA, &data, sizeof data) != S_OK) return;
  std::int64_t bytes = static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  size = bytes == 0 ? -1 : bytes;
  date = DateOfFileTime(data.ftLastWriteTime);
}

}  // namespace vt
