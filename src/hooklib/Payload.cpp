#include "hooklib/Payload.h"

#include <cstring>

#include "hooklib/Protocol.h"

namespace vt::hook {

bool BufferProbe::Readable(const void* p, std::size_t n) const {
  const auto* at = static_cast<const std::uint8_t*>(p);
  if (!data_ || !at || at < data_) return false;
  std::size_t offset = static_cast<std::size_t>(at - data_);
  return offset <= size_ && n <= size_ - offset;
}

namespace {
std::uint16_t CountAt(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
}  // namespace

std::size_t CheckedItemListSize(const void* list, const ReadProbe& probe) {
  if (!list) return 0;
  const auto* p = static_cast<const std::uint8_t*>(list);
  std::size_t size = 0;
  for (;;) {
    if (size + 2 > kHookItemListMax || !probe.Readable(p + size, 2)) return 0;
    std::uint16_t cb = CountAt(p + size);
    if (cb == 0) return size + 2;
    if (cb < 2 || size + cb + 2 > kHookItemListMax) return 0;
    // The whole item must be there, not only its count.
    if (!probe.Readable(p + size, cb)) return 0;
    size += cb;
  }
}

std::size_t ItemListSizeWithin(const void* list, std::size_t capacity) {
  return CheckedItemListSize(list, BufferProbe(list, capacity));
}

std::size_t ConcatItemListsInto(void* out, std::size_t capacity, const void* folder, std::size_t folderSize,
                                const void* item, std::size_t itemSize) {
  if (!out || !folder || !item || folderSize < 2 || itemSize < 2) return 0;
  std::size_t total = folderSize - 2 + itemSize;
  if (total > capacity) return 0;
  auto* dst = static_cast<std::uint8_t*>(out);
  std::memcpy(dst, folder, folderSize - 2);
  std::memcpy(dst + folderSize - 2, item, itemSize);
  return total;
}

bool PayloadText(const void* data, std::uint32_t size, std::string_view* text) {
  if (!data || size == 0) return false;
  const void* nul = std::memchr(data, '\0', size);
  if (!nul) return false;
  *text = std::string_view(static_cast<const char*>(data),
                           static_cast<std::size_t>(static_cast<const char*>(nul) - static_cast<const char*>(data)));
  return true;
}

namespace {
// A text whose only NUL is its last byte: cbData = length + 1.
bool ExactText(const void* data, std::uint32_t size) {
  std::string_view text;
  return PayloadText(data, size, &text) && text.size() + 1 == size;
}
}  // namespace

bool IsValidCopyData(CopyReceiver receiver, std::uint32_t kind, const void* data, std::uint32_t size) {
  if (!data || size == 0) return false;
  switch (receiver) {
    case CopyReceiver::Controller:
      // An empty program name opens nothing.
      if (kind == VTCD_ATTACH || kind == VTCD_PROGRAM) return size > 1 && ExactText(data, size);
      return false;
    case CopyReceiver::Dialog:
      return kind == VTCD_OPENITEM && ExactText(data, size);
    case CopyReceiver::Panel:
      switch (kind) {
        case VTCD_POSCHANGING: return size == kWindowPosSize;
        case VTCD_SHOW: case VTCD_DESTROY: case VTCD_CLOSE: case VTCD_NCACTIVATE:
          return size == sizeof(NotifyRecord);
        case VTCD_SETTEXT: return ExactText(data, size);
        case VTCD_FOLDER: return ItemListSizeWithin(data, size) == size;
        default: return false;
      }
  }
  return false;
}

}  // namespace vt::hook
