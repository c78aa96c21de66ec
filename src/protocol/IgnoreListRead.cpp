// The reading half of the ignore list, on its own so that the hook library carries it
// without the list-building code (and the allocations) of IgnoreList.cpp.
#include <cstring>

#include "protocol/IgnoreList.h"

namespace vt {

std::string_view SharedIgnoreEntry(const SharedBlock& block, int index) {
  if (index < 0 || index >= kIgnoreEntries) return {};
  const char* entry = block.IgnoreList[index];
  const void* end = std::memchr(entry, '\0', kIgnoreEntrySize);
  if (!end) return {};
  return std::string_view(entry, static_cast<const char*>(end) - entry);
}

bool IgnoreListContains(const SharedBlock& block, std::string_view upperName) {
  if (upperName.empty()) return false;
  // Damaged entries are skipped, not taken as the end of the list.
  for (int i = 0; i < kIgnoreEntries; ++i) {
    if (block.IgnoreList[i][0] == '\0') return false;
    std::string_view text = SharedIgnoreEntry(block, i);
    if (!text.empty() && text == upperName) return true;
  }
  return false;
}

}  // namespace vt
