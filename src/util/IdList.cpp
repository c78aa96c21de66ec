#include "util/IdList.h"

#include <algorithm>
#include <cstring>

namespace vt {

namespace {

std::size_t CountAt(const std::uint8_t* p) {
  return static_cast<std::size_t>(p[0]) | static_cast<std::size_t>(p[1]) << 8;
}

const std::uint8_t* Bytes(const void* p) { return static_cast<const std::uint8_t*>(p); }

// Offset of the last item of a well-formed list of `size` bytes (0 for the empty list).
std::size_t LastItemOffset(const std::uint8_t* list, std::size_t size) {
  std::size_t last = 0;
  for (std::size_t pos = 0; pos + 2 < size; pos += CountAt(list + pos)) last = pos;
  return last;
}

}  // namespace

std::size_t ItemListSizeIn(const void* list, std::size_t capacity) {
  if (!list) return 0;
  const std::uint8_t* p = Bytes(list);
  capacity = std::min(capacity, kMaxItemListSize);
  std::size_t pos = 0;
  // Every step advances by at least 2 bytes, so the walk ends within capacity / 2 steps.
  while (pos + 2 <= capacity) {
    std::size_t cb = CountAt(p + pos);
    if (cb == 0) return pos + 2;
    if (cb < 2 || cb > capacity - pos) return 0;
    pos += cb;
  }
  return 0;
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
  std::size_t size = ItemListSize(list);
  if (size == 0) return 0;
  const std::uint8_t* p = Bytes(list);
  std::size_t count = 0;
  for (std::size_t pos = 0; pos + 2 < size; pos += CountAt(p + pos)) ++count;
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

}  // namespace vt
