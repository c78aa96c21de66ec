// Writer and reader of the ignore list in the shared block. Both sides keep the same rules:
// entries in order, upper case, NUL-terminated; the list ends at the first empty entry or
// after the 50th. An entry is only trusted up to its 80 bytes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/SharedBlock.h"
#include "util/TextCase.h"

namespace vt {

struct PutIgnoreResult {
  int written = 0;   // names stored
  int refused = 0;   // names longer than 79 characters or beyond the 50th entry
};

// Names longer than an entry can hold are left out rather than cut: a cut name could match
// a different program. Nothing is written past the 50th entry.
PutIgnoreResult PutIgnoreList(SharedBlock& block, const std::vector<std::string>& names,
                              UpperCaseFn upper = AsciiUpperCase);

// Text of entry i, bounded by the entry; empty for an index outside 0..49 and for an entry
// that holds no NUL within its 80 bytes (a damaged entry never matches anything).
std::string_view SharedIgnoreEntry(const SharedBlock& block, int index);

// Exact comparison of an upper-case file name against the list, as the hook instance does.
bool IgnoreListContains(const SharedBlock& block, std::string_view upperName);

// The names the list holds now, in order.
std::vector<std::string> ReadIgnoreList(const SharedBlock& block);

}  // namespace vt
