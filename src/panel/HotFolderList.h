// The hot folders as stored: the user's ordered list of folders (identifier lists as bytes)
// with the file name of each entry's shortcut in the Links folder, and its registry format
// below "HotFolders": FoldersCount, Folder<n> (binary list), Folder<n>-lnk (shortcut name).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/QRegistry.h"

namespace vt {

struct HotFolderEntry {
  std::vector<std::uint8_t> idList;  // one well-formed list, terminator included
  std::string linkName;              // empty: no shortcut
};

class HotFolderList {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  const HotFolderEntry& At(int i) const { return entries_[static_cast<std::size_t>(i)]; }
  HotFolderEntry& At(int i) { return entries_[static_cast<std::size_t>(i)]; }
  const std::vector<HotFolderEntry>& Entries() const { return entries_; }

  // Inserts a copy of the list at i (appended when i is the count or beyond it, first when
  // negative) with no shortcut name; the position it took, or -1 for a malformed list.
  int Insert(int i, const void* idList, std::size_t capacity);
  // Nothing for an index outside the list.
  void Delete(int i);
  void Clear() { entries_.clear(); }

  // Reads the stored entries in order, each list into `capacity` bytes; reading stops at the
  // first list that is missing, of another type, larger than the capacity or malformed.
  void Load(TQRegistry& reg, int capacity);
  // Writes the count, then every entry with its shortcut name (also an empty one). Values
  // numbered beyond the count are left as they are; readers ignore them.
  void Save(TQRegistry& reg) const;

 private:
  std::vector<HotFolderEntry> entries_;
};

}  // namespace vt
