// The panel's request to open an item of the dialog's list by its text: how a hot folder
// without a path (My Computer, say) is reached through its shortcut in the Links folder.
// Everything goes through the dialog's own windows and its own shell browser: no key is
// pressed for the desktop, and no file the user did not choose is ever "opened" (which would
// end the dialog with it).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

#include "hooklib/DialogWindows.h"
#include "hooklib/MemoryProbe.h"
#include "hooklib/ShellAccess.h"
#include "hooklib/Subclass.h"
#include "util/Handles.h"

namespace vt::hook {

namespace {

constexpr std::size_t kTextMax = 1024;

// The target of the shortcut file at `path`; none when it is no shortcut or COM is not at
// hand in this thread.
HostItemList ShortcutTarget(const char* path) {
  using CreateFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  auto create = LoadedExport<CreateFn>("ole32.dll", "CoCreateInstance");
  if (!create) return nullptr;
  ComPtr<IShellLinkA> link;
  if (FAILED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void()))) return nullptr;
  const ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!file) return nullptr;
  WCHAR wide[MAX_PATH * 2];
  if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH * 2)) return nullptr;
  if (FAILED(file->Load(wide, STGM_READ))) return nullptr;
  LPITEMIDLIST target = nullptr;
  if (FAILED(link->GetIDList(&target))) return nullptr;
  return HostItemList(target);
}

constexpr char kShortcutSuffix[] = ".lnk";
constexpr std::size_t kPathRoom = MAX_PATH * 2;

// The item's path in the dialog's folder into out (kPathRoom bytes, with room left for the
// shortcut suffix); its length, or 0 for a folder without a path or a name that does not fit.
std::size_t ItemPath(HWND dialog, const char* text, std::size_t length, char* out) {
  const LRESULT folderLength = IsItemDialog(dialog) ? static_cast<LRESULT>(ItemDialogFolderPath(dialog, out))
                                                   : SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH,
                                                                  reinterpret_cast<LPARAM>(out));
  if (folderLength <= 1 || folderLength >= MAX_PATH) return 0;
  std::size_t n = strnlen(out, MAX_PATH);
  if (n + 1 + length + sizeof kShortcutSuffix >= kPathRoom) return 0;
  if (n && out[n - 1] != '\\') out[n++] = '\\';
  std::memcpy(out + n, text, length);
  out[n + length] = '\0';
  return n + length;
}

// A shortcut in the dialog's folder named like the item (its suffix is not shown) is followed
// by the dialog's own browser, wherever it points: the dialog would otherwise take it for a
// chosen file. `path` is the item's, `n` its length; the suffix is put after it.
bool FollowShortcut(HWND dialog, char* path, std::size_t n) {
  std::memcpy(path + n, kShortcutSuffix, sizeof kShortcutSuffix);
  const DWORD attributes = GetFileAttributesA(path);
  const bool shortcut = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (shortcut) {
    HWND host = IsItemDialog(dialog) ? ItemDialogBrowserHost(dialog) : dialog;
    auto* browser = host ? reinterpret_cast<IShellBrowser*>(SendMessageA(host, kGetShellBrowser, 0, 0)) : nullptr;
    // A shortcut that cannot be followed is left alone, never opened.
    if (browser)
      if (const HostItemList target = ShortcutTarget(path)) browser->BrowseObject(target.get(), SBSP_ABSOLUTE);
  }
  path[n] = '\0';
  return shortcut;
}

bool IsFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int FindItem(HWND listView, const char* text, std::size_t length) {
  const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  char buffer[kTextMax];
  for (int i = 0; i < count; ++i) {
    LVITEMA lv{};
    lv.mask = LVIF_TEXT;
    lv.iItem = i;
    lv.pszText = buffer;
    lv.cchTextMax = sizeof buffer;
    buffer[0] = '\0';
    if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv))) continue;
    buffer[sizeof buffer - 1] = '\0';
    // The list view may answer with its own text pointer instead of filling the buffer.
    const char* itemText = lv.pszText && MemoryProbe().ReadableText(lv.pszText, sizeof buffer) ? lv.pszText : buffer;
    if (std::strncmp(itemText, text, length + 1) == 0) return i;
  }
  return -1;
}

}  // namespace

bool SelectAndOpenItem(const char* text, HWND dialog) {
  HWND listView = FolderViewOf(dialog).list;
  if (!listView && IsItemDialog(dialog)) listView = FolderViewOf(ItemDialogBrowserHost(dialog)).list;
  if (!listView || !text) return false;
  // An item's text is read with at most 1023 characters; a longer text matches nothing.
  const std::size_t length = strnlen(text, kTextMax);
  if (length >= kTextMax) return false;
  const int index = FindItem(listView, text, length);
  if (index < 0) return false;
  LVITEMA state{};
  state.mask = LVIF_STATE;
  state.iItem = index;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state));
  SetFocus(listView);
  char path[kPathRoom];
  const std::size_t n = ItemPath(dialog, text, length, path);
  if (!n || FollowShortcut(dialog, path, n)) return true;
  // A folder opens with Enter, sent to the list itself (never to whatever window has the
  // focus) and posted, so that the panel's request returns at once.
  if (IsFolder(path)) {
    PostMessageA(listView, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(listView, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
  }
  return true;
}

}  // namespace vt::hook
