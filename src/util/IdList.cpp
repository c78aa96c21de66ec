#include "util/IdList.h"

#include <cstring>

namespace vt {

namespace {

std::size_t CountAt(const std::uint8_t* p) {
  return static_cast<std::size_t>(p[0]) | static_cast<std::size_t>(p[1]) << 8;
}

const std::uint8_t* Bytes(const void* p) { return static_cast<const std::uint8_t*>(p); }

// Visits the offset of each item of a list already walked to `size` bytes.
template <typename Visit>
void EachItem(const std::uint8_t* list, std::size_t size, Visit visit) {
  for (std::size_t pos = 0; pos + 2 < size; pos += CountAt(list + pos)) visit(pos);
}

// Offset of the last item of a well-formed list of `size` bytes (0 for the empty list).
std::size_t LastItemOffset(const std::uint8_t* list, std::size_t size) {
  std::size_t last = 0;
  EachItem(list, size, [&](std::size_t pos) { last = pos; });
  return last;
}

}  // namespace

bool BufferProbe::Readable(const void* p, std::size_t n) const {
  const auto* at = static_cast<const std::uint8_t*>(p);
  if (!data_ || !at || at < data_) return false;
  std::size_t offset = static_cast<std::size_t>(at - data_);
  return offset <= size_ && n <= size_ - offset;
}

std::size_t ItemListSizeProbed(const void* list, const ReadProbe& probe) {
  if (!list) return 0;
  const std::uint8_t* p = Bytes(list);
  std::size_t size = 0;
  // Every step advances by at least 2 bytes, so the walk ends within kMaxItemListSize / 2 steps.
  for (;;) {
    if (size + 2 > kMaxItemListSize || !probe.Readable(p + size, 2)) return 0;
    const std::size_t cb = CountAt(p + size);
    if (cb == 0) return size + 2;
    if (cb < 2 || size + cb + 2 > kMaxItemListSize) return 0;
    // The whole item must be there, not only its count.
    if (!probe.Readable(p + size, cb)) return 0;
    size += cb;
  }
}

std::size_t ItemListSizeIn(const void* list, std::size_t capacity) {
  return ItemListSizeProbed(list, BufferProbe(list, capacity));
}

std::size_t ItemListSize(const void* list) { return ItemListSizeIn(list, kMaxItemListSize); }

bool ItemListExact(const void* list, std::size_t size) {
  return size != 0 && ItemListSizeIn(list, size) == size;
}

const void* ItemListNext(const void* item) {
  if (!item) return nullptr;
  std::size_t cb = CountAt(Bytes(item));
  // The terminator (and a count too small to hold itself) has no successor.
  if (cb < 2) return nullptr;
  return Bytes(item) + cb;
}

std::size_t ItemListCount(const void* list) {
  std::size_t count = 0;
  EachItem(Bytes(list), ItemListSize(list), [&](std::size_t) { ++count; });
  return count;
}

bool ItemListSame(const void* a, const void* b) {
  std::size_t sizeA = ItemListSize(a);
  std::size_t sizeB = ItemListSize(b);
  // Two well-formed lists agree item by item exactly when their bytes up to and including the
  // terminator agree.
  return sizeA != 0 && sizeA == sizeB && std::memcmp(a, b, sizeA) == 0;
}

void ItemListCutLast(void* list) {
  std::size_t size = ItemListSize(list);
  if (size <= 2) return;  // no list, a malformed one, or the desktop already
  auto* p = static_cast<std::uint8_t*>(list);
  std::size_t last = LastItemOffset(p, size);
  p[last] = 0;
  p[last + 1] = 0;
}

const void* ItemListLast(const void* list) {
  std::size_t size = ItemListSize(list);
  if (size <= 2) return list;
  return Bytes(list) + LastItemOffset(Bytes(list), size);
}

std::size_t JoinedItemListSize(std::size_t firstSize, std::size_t secondSize) {
  // No checked list is larger; refusing such sizes first also keeps the sum from wrapping.
  if (firstSize < 2 || secondSize < 2 || firstSize > kMaxItemListSize || secondSize > kMaxItemListSize) return 0;
  const std::size_t total = firstSize - 2 + secondSize;
  return total <= kMaxItemListSize ? total : 0;
}

std::size_t JoinItemListsInto(void* out, std::size_t capacity, const void* first, std::size_t firstSize,
                              const void* second, std::size_t secondSize) {
  const std::size_t total = JoinedItemListSize(firstSize, secondSize);
  if (!out || !first || !second || total == 0 || total > capacity) return 0;
  auto* dst = static_cast<std::uint8_t*>(out);
  std::memcpy(dst, first, firstSize - 2);
  std::memcpy(dst + firstSize - 2, second, secondSize);
  return total;
}

}  // namespace vt
