// The byte-string forms of identifier lists, apart from the walking rules so that the hook
// library can carry those without the allocating code.
#include <algorithm>
#include <cstring>

#include "util/IdList.h"

namespace vt {

namespace {
const std::uint8_t* Bytes(const void* p) { return static_cast<const std::uint8_t*>(p); }
}  // namespace

std::vector<std::uint8_t> ItemListBytes(const void* list) {
  std::size_t size = ItemListSize(list);
  if (size == 0) return {};
  return std::vector<std::uint8_t>(Bytes(list), Bytes(list) + size);
}

std::vector<std::uint8_t> ConcatItemListBytes(const void* first, const void* second) {
  std::size_t secondSize = ItemListSize(second);
  if (secondSize == 0) return {};
  std::size_t firstSize = 0;
  if (first) {
    firstSize = ItemListSize(first);
    if (firstSize == 0) return {};  // a damaged folder must not be passed off as the desktop
  }
  std::size_t head = firstSize ? firstSize - 2 : 0;
  if (head + secondSize > kMaxItemListSize) return {};
  std::vector<std::uint8_t> out(head + secondSize);
  if (head) std::memcpy(out.data(), first, head);
  std::memcpy(out.data() + head, second, secondSize);
  return out;
}

std::vector<std::uint8_t> ItemListLastBytes(const void* list) {
  if (ItemListSize(list) == 0) return {};
  return ItemListBytes(ItemListLast(list));
}

}  // namespace vt
