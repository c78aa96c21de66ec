#include "protocol/IgnoreList.h"

#include <cstring>

namespace vt {

PutIgnoreResult PutIgnoreList(SharedBlock& block, const std::vector<std::string>& names,
                              UpperCaseFn upper) {
  PutIgnoreResult result;
  int slot = 0;
  for (const std::string& name : names) {
    // An embedded NUL would end the entry early and store a different name.
    if (slot >= kIgnoreEntries || name.size() > static_cast<std::size_t>(kIgnoreNameMax) ||
        name.find('\0') != std::string::npos) {
      ++result.refused;
      continue;
    }
    if (name.empty()) continue;  // an empty name would end the list
    char* entry = block.IgnoreList[slot];
    std::memcpy(entry, name.data(), name.size());
    entry[name.size()] = '\0';
    if (upper) upper(entry, name.size());
    ++slot;
  }
  result.written = slot;
  if (slot < kIgnoreEntries) block.IgnoreList[slot][0] = '\0';
  return result;
}

namespace {
// Visits entries until the end entry; damaged entries are skipped, not treated as the end.
template <typename Visit>
void ForEachEntry(const SharedBlock& block, Visit visit) {
  for (int i = 0; i < kIgnoreEntries; ++i) {
    if (block.IgnoreList[i][0] == '\0') return;
    std::string_view text = SharedIgnoreEntry(block, i);
    if (text.empty()) continue;
    if (visit(text)) return;
  }
}
}  // namespace

std::vector<std::string> ReadIgnoreList(const SharedBlock& block) {
  std::vector<std::string> names;
  ForEachEntry(block, [&](std::string_view text) {
    names.emplace_back(text);
    return false;
  });
  return names;
}

}  // namespace vt
