#include "kit/ShellIdArray.h"

#include <cstring>

#include "util/IdList.h"

namespace vt {

namespace {
std::uint32_t U32At(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

std::optional<std::vector<IdListBytes>> ReadShellIdArray(const void* block, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(block);
  if (!p || size < 8) return std::nullopt;
  const std::uint32_t n = U32At(p);
  if (n > kMaxShellIdArrayItems || 4 + 4 * (std::size_t{n} + 1) > size) return std::nullopt;
  // The lists of a real block lie side by side in it: offsets that make them overlap would let
  // a small block from another program fill this one with copies, and are refused.
  std::size_t copied = 0;
  std::vector<IdListBytes> lists;
  for (std::uint32_t k = 0; k <= n; ++k) {
    const std::size_t offset = U32At(p + 4 + 4 * k);
    if (offset >= size) return std::nullopt;
    const std::size_t len = ItemListSizeIn(p + offset, size - offset);
    if (len == 0 || (copied += len) > size) return std::nullopt;
    lists.emplace_back(p + offset, p + offset + len);
  }
  // Each object becomes the parent's list + its own: bounded as a whole too.
  std::size_t joined = 0;
  for (std::uint32_t k = 1; k <= n; ++k) {
    lists[k] = ConcatItemListBytes(lists[0].data(), lists[k].data());
    if (lists[k].empty()) return std::nullopt;  // too long together
    if ((joined += lists[k].size()) > kMaxShellIdArrayBytes) return std::nullopt;
  }
  return lists;
}

std::vector<std::uint8_t> MakeShellIdArray(const IdListBytes& parent, const std::vector<IdListBytes>& items) {
  std::vector<const IdListBytes*> all{&parent};
  for (const IdListBytes& item : items) all.push_back(&item);
  for (const IdListBytes* list : all)
    if (!ItemListExact(list->data(), list->size())) return {};
  std::size_t at = 4 + 4 * all.size();
  std::vector<std::uint8_t> out(at);
  PutU32(out, 0, static_cast<std::uint32_t>(items.size()));
  for (std::size_t k = 0; k < all.size(); ++k) {
    PutU32(out, 4 + 4 * k, static_cast<std::uint32_t>(at));
    out.insert(out.end(), all[k]->begin(), all[k]->end());
    at = out.size();
  }
  return out;
}

}  // namespace vt
