#include "panel/HotFolderList.h"

#include <algorithm>

#include "settings/Catalogue.h"
#include "util/IdList.h"

namespace vt {

int HotFolderList::Insert(int i, const void* idList, std::size_t capacity) {
  const std::size_t size = ItemListSizeIn(idList, capacity);
  if (size == 0) return -1;
  const auto* bytes = static_cast<const std::uint8_t*>(idList);
  const int at = std::clamp(i, 0, Count());
  entries_.insert(entries_.begin() + at, HotFolderEntry{{bytes, bytes + size}, {}});
  return at;
}

void HotFolderList::Delete(int i) {
  if (i >= 0 && i < Count()) entries_.erase(entries_.begin() + i);
}

void HotFolderList::Load(TQRegistry& reg, int capacity) {
  entries_.clear();
  const std::int32_t count = ReadFoldersCount(reg).value_or(0);
  for (std::int32_t n = 0; n < count; ++n) {
    const std::vector<std::uint8_t> data = ReadFolderIdList(reg, n, capacity);
    // A damaged list is never handed to the shell: it ends the list like a missing one.
    if (data.empty() || Insert(Count(), data.data(), data.size()) < 0) break;
    entries_.back().linkName = ReadFolderLink(reg, n).value_or(std::string());
  }
}

void HotFolderList::Save(TQRegistry& reg) const {
  WriteFoldersCount(reg, Count());
  for (int n = 0; n < Count(); ++n) {
    const HotFolderEntry& e = At(n);
    WriteFolderIdList(reg, n, e.idList.data(), static_cast<int>(e.idList.size()));
    WriteFolderLink(reg, n, e.linkName);
  }
}

}  // namespace vt
