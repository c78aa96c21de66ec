#include "controller/ProgramList.h"

#include <algorithm>

namespace vt {

std::string ProgramList::KeyOf(std::string_view path) const {
  std::string key(path);
  if (upper_ && !key.empty()) upper_(key.data(), key.size());
  return key;
}

bool ProgramList::Add(std::string_view path) {
  if (path.empty()) return false;
  std::string key = KeyOf(path);
  auto at = std::lower_bound(entries_.begin(), entries_.end(), key,
                             [](const Entry& e, const std::string& k) { return e.key < k; });
  if (at != entries_.end() && at->key == key) return false;
  if (entries_.size() >= kMaxPrograms) return false;
  entries_.insert(at, Entry{std::move(key), std::string(path)});
  return true;
}

bool ProgramList::AddReported(std::string_view path, std::string_view ownPath) {
  if (path == ownPath) return false;
  return Add(path);
}

std::vector<std::string> ProgramList::Items() const {
  std::vector<std::string> items;
  items.reserve(entries_.size());
  for (const Entry& e : entries_) items.push_back(e.text);
  return items;
}

}  // namespace vt
