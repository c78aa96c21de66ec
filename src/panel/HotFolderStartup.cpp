#include "panel/HotFolderStartup.h"

#include <shellapi.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "settings/Product.h"
#include "panel/LinkNames.h"
#include "settings/Catalogue.h"
#include "util/AnsiText.h"
#include "util/Handles.h"
#include "util/ShellFolder.h"
#include "util/ShellIdList.h"

namespace vt {

namespace {

// Shell Folders values are short paths; anything beyond this is not a folder we can use.
constexpr DWORD kMaxShellFolderBytes = 32768;

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

// A string value of the Shell Folders key, opened for reading only; empty when missing.
std::string ShellFolderValue(const char* name) {
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return {};
  std::string text;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size <= kMaxShellFolderBytes) {
    // One spare byte: registry strings are not always stored with their NUL.
    std::vector<char> buf(size + 1, '\0');
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) ==
            ERROR_SUCCESS &&
        size < buf.size())
      text = buf.data();
  }
  if (type == REG_EXPAND_SZ && !text.empty()) {
    char expanded[MAX_PATH * 4];
    DWORD n = ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof expanded);
    text = (n > 0 && n <= sizeof expanded) ? std::string(expanded) : std::string();
  }
  return text;
}

LPITEMIDLIST ParsePath(const std::string& path) {
  if (path.empty()) return nullptr;
  std::wstring wide = Wide(path);
  if (wide.empty()) return nullptr;
  ComPtr<IShellFolder> desktop(DesktopFolder());
  if (!desktop) return nullptr;
  LPITEMIDLIST raw = nullptr;
  HRESULT hr = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &raw, nullptr);
  ItemListPtr list(raw);
  return SUCCEEDED(hr) ? list.release() : nullptr;
}

}  // namespace

LPITEMIDLIST GetSpecialFolderPidl(int code) {
  if (code < kFavoritesFolderCode) {
    LPITEMIDLIST raw = nullptr;
    const HRESULT hr = SHGetSpecialFolderLocation(nullptr, code, &raw);
    ItemListPtr list(raw);
    return hr == S_OK ? list.release() : nullptr;
  }
  if (code == kFavoritesFolderCode) return ParsePath(ShellFolderValue("Favorites"));
  if (code == kPersonalFolderCode) return ParsePath(ShellFolderValue("Personal"));
  return nullptr;
}

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
    ItemListPtr list(GetSpecialFolderPidl(code));
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
  std::wstring wide = Wide(fileName);
  return !wide.empty() && SUCCEEDED(file->Save(wide.c_str(), FALSE));
}

void OpenInShellWindow(LPCITEMIDLIST idList) {
  if (!idList) return;
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_IDLIST;
  info.nShow = SW_SHOW;
  info.lpIDList = const_cast<LPITEMIDLIST>(idList);
  ShellExecuteExA(&info);
}

}  // namespace vt
