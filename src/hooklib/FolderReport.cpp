// The panel's request that only code inside the dialog's process can answer: the folder (and
// selected item) the dialog shows.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <utility>

#include "hooklib/DialogWindows.h"
#include "hooklib/HookInstance.h"
#include "hooklib/MemoryProbe.h"
#include "protocol/Messages.h"
#include "hooklib/Subclass.h"
#include "protocol/Handle32.h"

namespace vt::hook {

namespace {

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

// The documented way: the dialog copies its folder's list into a buffer of ours. The size
// comes first; a list that does not come back whole and well-formed is not used.
std::size_t FolderFromDialog(HWND dialog, Buffer* out) {
  char probe[2];
  LRESULT size = SendMessageA(dialog, CDM_GETFOLDERIDLIST, 0, reinterpret_cast<LPARAM>(probe));
  if (size < 2 || static_cast<std::size_t>(size) > kMaxItemListSize) return 0;
  Buffer buffer(static_cast<std::size_t>(size));
  if (!buffer.get()) return 0;
  LRESULT copied = SendMessageA(dialog, CDM_GETFOLDERIDLIST, static_cast<WPARAM>(size),
                                reinterpret_cast<LPARAM>(buffer.get()));
  if (copied != size) return 0;
  std::size_t listSize = ItemListSizeIn(buffer.get(), static_cast<std::size_t>(size));
  if (listSize != static_cast<std::size_t>(size)) return 0;
  out->Swap(buffer);
  return listSize;
}

// The folder box's own record behind its current entry: three 32-bit fields, then the
// identifier list's address, aligned in the host's own bitness (offset 12, or 16 in a
// 64-bit process). For a dialog that does not answer the documented message.
constexpr std::size_t kRecordListOffset = sizeof(void*) == 8 ? 16 : 12;
constexpr std::size_t kRecordSize = kRecordListOffset + sizeof(void*);

std::size_t FolderFromRecord(HWND combo, const void** list) {
  LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return 0;
  LRESULT data = SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  const auto* record = reinterpret_cast<const std::uint8_t*>(data);
  if (data == CB_ERR || !record || !MemoryProbe().Readable(record, kRecordSize)) return 0;
  const void* folder = nullptr;
  std::memcpy(&folder, record + kRecordListOffset, sizeof folder);
  std::size_t size = ItemListSizeProbed(folder, MemoryProbe());
  if (size) *list = folder;
  return size;
}

// The single selected item's relative list, as the list view keeps it; 0 without one.
std::size_t SelectedItem(HWND dialog, const void** item) {
  HWND listView = FolderViewOf(dialog).list;
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
  std::size_t size = ItemListSizeProbed(list, MemoryProbe());
  if (size) *item = list;
  return size;
}

}  // namespace

int ReportDialogFolder(const DialogSlot& slot) {
  HWND dialog = FromHandle32<HWND>(slot.DialogWindow);
  HWND combo = FindFolderCombo(dialog);
  if (!combo) return IsItemDialog(dialog) ? ReportItemDialogFolder(slot, dialog) : 0;
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
  return SendFolderReport(slot, dialog, folder, folderSize, item, itemSize);
}

int SendFolderReport(const DialogSlot& slot, HWND dialog, const void* folder, std::size_t folderSize, const void* item,
                     std::size_t itemSize) {
  const void* data = folder;
  std::size_t size = folderSize;
  // The panel's gate refuses a join above the limit, and the folder would then not be reported
  // at all: without a join the folder goes alone.
  const std::size_t joinedSize = itemSize ? JoinedItemListSize(folderSize, itemSize) : 0;
  Buffer joined(joinedSize);
  bool withItem = false;
  if (joinedSize && joined.get()) {
    std::size_t n = JoinItemListsInto(joined.get(), joinedSize, folder, folderSize, item, itemSize);
    if (n) {
      data = joined.get();
      size = n;
      withItem = true;
    }
  }
  SendCopyData(PanelOfSlot(slot), reinterpret_cast<WPARAM>(dialog), VTCD_FOLDER, data,
               static_cast<DWORD>(size), kNotifyTimeoutMs);
  return withItem ? 2 : 1;
}

}  // namespace vt::hook
