#include "hooklib/Payload.h"

#include <cstring>


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
  // No checked list is larger; refusing such sizes first also keeps the sum from wrapping.
  if (folderSize > kHookItemListMax || itemSize > kHookItemListMax) return 0;
  std::size_t total = folderSize - 2 + itemSize;
  // The panel's gate refuses a longer list, and the folder would then not be reported at all;
  // refused here, the caller sends the folder alone.
  if (total > capacity || total > kHookItemListMax) return 0;
  auto* dst = static_cast<std::uint8_t*>(out);
  std::memcpy(dst, folder, folderSize - 2);
  std::memcpy(dst + folderSize - 2, item, itemSize);
  return total;
}

}  // namespace vt::hook
