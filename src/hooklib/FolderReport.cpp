// The panel's two requests that only code inside the dialog's process can answer: the folder
// (and selected item) the dialog shows, and opening a list item by its text.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <utility>

#include "hooklib/DialogWindows.h"
#include "hooklib/HookInstance.h"
#include "hooklib/Payload.h"
#include "protocol/Messages.h"
#include "hooklib/Subclass.h"

namespace vt::hook {

namespace {

// Memory of this process that the dialog or its list view owns: readable only as far as the
// memory manager says, region by region. Unlike a probing read this touches nothing, so it
// never trips a guard page or takes a fault.
bool ReadableProtection(DWORD protect) {
  if (protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
  return (protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                     PAGE_EXECUTE_WRITECOPY)) != 0;
}

class MemoryProbe final : public ReadProbe {
 public:
  bool Readable(const void* p, std::size_t n) const override {
    if (!p) return false;
    auto at = reinterpret_cast<UINT_PTR>(p);
    const UINT_PTR end = at + n;
    if (end < at) return false;
    // Every region the range touches must be committed and readable; ranges here are at most
    // a few pages long, so this takes a handful of queries.
    while (at < end) {
      MEMORY_BASIC_INFORMATION info;
      if (!VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info)) return false;
      if (info.State != MEM_COMMIT || !ReadableProtection(info.Protect)) return false;
      const UINT_PTR regionEnd = reinterpret_cast<UINT_PTR>(info.BaseAddress) + info.RegionSize;
      if (regionEnd <= at) return false;
      at = regionEnd;
    }
    return true;
  }
  // A NUL-terminated text of at most `max` bytes lies wholly in readable memory.
  bool ReadableText(const char* text, std::size_t max) const {
    for (std::size_t i = 0; i < max; ++i) {
      // One query per region: the text is checked a page at a time.
      if ((i == 0 || (reinterpret_cast<UINT_PTR>(text + i) & 0xFFF) == 0) && !Readable(text + i, 1)) return false;
      if (text[i] == '\0') return true;
    }
    return false;
  }
};

// Holds the bytes this module allocates for one report; the panel copies them during the send.
class Buffer {
 public:
  explicit Buffer(std::size_t size) : data_(size ? HeapAlloc(GetProcessHeap(), 0, size) : nullptr) {}
  ~Buffer() {
    if (data_) HeapFree(GetProcessHeap(), 0, data_);
  }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  void* get() const { return data_; }
  void Swap(Buffer& other) { std::swap(data_, other.data_); }

 private:
  void* data_;
};

HWND ToWindow(DWORD handle) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)); }

// The documented way: the dialog copies its folder's list into a buffer of ours. The size
// comes first; a list that does not come back whole and well-formed is not used.
std::size_t FolderFromDialog(HWND dialog, Buffer* out) {
  char probe[2];
  LRESULT size = SendMessageA(dialog, CDM_GETFOLDERIDLIST, 0, reinterpret_cast<LPARAM>(probe));
  if (size < 2 || static_cast<std::size_t>(size) > kHookItemListMax) return 0;
  Buffer buffer(static_cast<std::size_t>(size));
  if (!buffer.get()) return 0;
  LRESULT copied = SendMessageA(dialog, CDM_GETFOLDERIDLIST, static_cast<WPARAM>(size),
                                reinterpret_cast<LPARAM>(buffer.get()));
  if (copied != size) return 0;
  std::size_t listSize = ItemListSizeWithin(buffer.get(), static_cast<std::size_t>(size));
  if (listSize != static_cast<std::size_t>(size)) return 0;
  out->Swap(buffer);
  return listSize;
}

// The folder box's own record behind its current entry (identifier list at offset 12),
// for a dialog that does not answer the documented message.
std::size_t FolderFromRecord(HWND combo, const void** list) {
  LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return 0;
  LRESULT data = SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  const auto* record = reinterpret_cast<const std::uint8_t*>(data);
  if (data == CB_ERR || !record || !MemoryProbe().Readable(record, 16)) return 0;
  const void* folder = nullptr;
  std::memcpy(&folder, record + 12, sizeof folder);
  std::size_t size = CheckedItemListSize(folder, MemoryProbe());
  if (size) *list = folder;
  return size;
}

// The single selected item's relative list, as the list view keeps it; 0 without one.
std::size_t SelectedItem(HWND dialog, const void** item) {
  HWND listView = FindShellListView(dialog);
  if (!listView) return 0;
  int index = GetSingleSelection(listView);
  if (index < 0) return 0;
  LVITEMA lv{};
  lv.mask = LVIF_PARAM;
  lv.iItem = index;
  if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv))) {
    ReportDebugBox("false", "---");
    return 0;
  }
  const void* list = reinterpret_cast<const void*>(lv.lParam);
  std::size_t size = CheckedItemListSize(list, MemoryProbe());
  if (size) *item = list;
  return size;
}

}  // namespace

int ReportDialogFolder(const DialogSlot& slot) {
  HWND dialog = ToWindow(slot.DialogWindow);
  HWND combo = FindFolderCombo(dialog);
  if (!combo) return 0;
  if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) return -1;

  Buffer owned(0);
  const void* folder = nullptr;
  std::size_t folderSize = FolderFromDialog(dialog, &owned);
  if (folderSize) {
    folder = owned.get();
  } else {
    folderSize = FolderFromRecord(combo, &folder);
    if (!folderSize) return 0;
  }

  const void* item = nullptr;
  std::size_t itemSize = SelectedItem(dialog, &item);
  const void* data = folder;
  std::size_t size = folderSize;
  Buffer joined(itemSize ? folderSize - 2 + itemSize : 0);
  bool withItem = false;
  if (itemSize && joined.get()) {
    std::size_t n = ConcatItemListsInto(joined.get(), folderSize - 2 + itemSize, folder, folderSize, item, itemSize);
    if (n) {
      data = joined.get();
      size = n;
      withItem = true;
    }
  }
  SendCopyData(ToWindow(slot.PanelWindow), reinterpret_cast<WPARAM>(dialog), VTCD_FOLDER, data,
               static_cast<DWORD>(size), kNotifyTimeoutMs);
  return withItem ? 2 : 1;
}

bool SelectAndOpenItem(const char* text, HWND dialog) {
  HWND listView = FindShellListView(dialog);
  if (!listView || !text) return false;
  // An item's text is read with at most 1023 characters; a longer text matches nothing.
  std::size_t textLength = strnlen(text, 1024);
  if (textLength >= 1024) return false;
  int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  char buffer[1024];
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
    const char* itemText =
        lv.pszText && MemoryProbe().ReadableText(lv.pszText, sizeof buffer) ? lv.pszText : buffer;
    if (std::strncmp(itemText, text, textLength + 1) != 0) continue;
    LVITEMA state{};
    state.mask = LVIF_STATE;
    state.iItem = i;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state));
    SetFocus(listView);
    // Down and up: a key left down would stay held for the whole desktop.
    keybd_event(VK_RETURN, 0, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    return true;
  }
  return false;
}

}  // namespace vt::hook
