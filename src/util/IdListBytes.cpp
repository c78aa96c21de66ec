// The byte-string forms of identifier lists, apart from the walking rules so that the hook
// library can carry those without the allocating code.
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
  static constexpr std::uint8_t kDesktop[2] = {0, 0};
  if (!first) first = kDesktop;
  const std::size_t firstSize = ItemListSize(first), secondSize = ItemListSize(second);
  const std::size_t total = JoinedItemListSize(firstSize, secondSize);
  if (total == 0) return {};
  std::vector<std::uint8_t> out(total);
  JoinItemListsInto(out.data(), out.size(), first, firstSize, second, secondSize);
  return out;
}

std::vector<std::uint8_t> ItemListLastBytes(const void* list) {
  if (ItemListSize(list) == 0) return {};
  return ItemListBytes(ItemListLast(list));
}

}  // namespace vt
