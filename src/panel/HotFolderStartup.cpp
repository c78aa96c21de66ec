#include "panel/HotFolderStartup.h"

#include <climits>
#include <cstdint>
#include <vector>

#include "panel/LinkNames.h"
#include "panel/ShellPlaces.h"
#include "settings/Catalogue.h"
#include "util/AnsiText.h"
#include "util/Handles.h"
#include "util/IdList.h"

namespace vt {

bool AppendHotFolder(TQRegistry& reg, LPCITEMIDLIST idList) {
  if (!idList) return false;
  std::size_t size = ItemListSize(idList);
  if (size == 0 || size > static_cast<std::size_t>(kPanelIdListCapacity)) return false;
  // A negative count reads as an empty list everywhere; the largest one cannot grow.
  std::int32_t count = ReadFoldersCount(reg).value_or(0);
  if (count < 0) count = 0;
  if (count == INT32_MAX) return false;
  // The entry first, then the count: if a write fails, no count points past the stored entries.
  WriteFolderIdList(reg, count, idList, static_cast<int>(size));
  WriteFoldersCount(reg, count + 1);
  return true;
}

int AddDefaultHotFolders(TQRegistry& reg) {
  int added = 0;
  for (int code : {kRecentFolderCode, kFavoritesFolderCode, kPersonalFolderCode}) {
    const ItemListPtr list = GetSpecialFolderPidl(code);
    if (list && AppendHotFolder(reg, list.get())) ++added;
  }
  return added;
}

std::string LinksFolder(const std::string& programFolder) { return programFolder + "Links"; }

int CleanLinksFolder(TQRegistry& reg, const std::string& programFolder) {
  // Every name a stored entry gives is kept, also behind an entry that cannot be loaded; the
  // count is clamped by the catalogue, so a damaged one cannot make start-up walk for long.
  std::vector<std::string> keep;
  std::int32_t count = ReadFoldersCount(reg).value_or(0);
  for (std::int32_t n = 0; n < count; ++n)
    if (std::optional<std::string> link = ReadFolderLink(reg, n)) keep.push_back(*link);

  const std::string folder = LinksFolder(programFolder) + "\\";
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((folder + "*.*").c_str(), &data));
  if (!find) return 0;
  do {
    found.emplace_back(data.cFileName);
  } while (FindNextFileA(find.get(), &data));

  int deleted = 0;
  for (const std::string& name : StrayLinkFiles(keep, found, AnsiUpperCase))
    if (DeleteFileA((folder + name).c_str())) ++deleted;
  return deleted;
}

}  // namespace vt
