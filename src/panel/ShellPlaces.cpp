#include "panel/ShellPlaces.h"

#include <string>
#include <vector>

#include "settings/Catalogue.h"
#include "util/AnsiText.h"
#include "util/Handles.h"
#include "util/ShellFolder.h"

namespace vt {

namespace {

// Shell Folders values are short paths; anything beyond this is not a folder we can use.
constexpr DWORD kMaxShellFolderBytes = 32768;

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

ItemListPtr ParsePath(const std::string& path) {
  if (path.empty()) return nullptr;
  std::wstring wide = WideFromAnsi(path);
  if (wide.empty()) return nullptr;
  const ComPtr<IShellFolder> desktop = DesktopFolder();
  if (!desktop) return nullptr;
  LPITEMIDLIST raw = nullptr;
  HRESULT hr = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &raw, nullptr);
  ItemListPtr list(raw);
  if (FAILED(hr)) list.reset();
  return list;
}

}  // namespace

ItemListPtr GetSpecialFolderPidl(int code) {
  if (code < kFavoritesFolderCode) {
    LPITEMIDLIST raw = nullptr;
    const HRESULT hr = SHGetSpecialFolderLocation(nullptr, code, &raw);
    ItemListPtr list(raw);
    if (hr != S_OK) list.reset();
    return list;
  }
  if (code == kFavoritesFolderCode) return ParsePath(ShellFolderValue("Favorites"));
  if (code == kPersonalFolderCode) return ParsePath(ShellFolderValue("Personal"));
  return nullptr;
}

}  // namespace vt
