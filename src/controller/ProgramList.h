// RunningPrograms: the program paths that hook instances report, sorted and without
// duplicates, both without regard to case. The first spelling reported is the one kept.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "util/TextCase.h"  // the Windows build passes the locale's rule

namespace vt {

class ProgramList {
 public:
  // A hostile or broken process could report without end; past this the list stops growing.
  static constexpr std::size_t kMaxPrograms = 1000;

  explicit ProgramList(UpperCaseFn upper = AsciiUpperCase) : upper_(upper) {}

  // False when the path is empty, already listed (in any case) or the list is full.
  bool Add(std::string_view path);
  // A report from a hook instance: the controller's own program is never listed. The
  // comparison with ownPath is exact, as the reports carry the module's own spelling.
  bool AddReported(std::string_view path, std::string_view ownPath);
  void Clear() { entries_.clear(); }

  std::size_t Count() const { return entries_.size(); }
  const std::string& operator[](std::size_t i) const { return entries_[i].text; }
  std::vector<std::string> Items() const;

 private:
  struct Entry {
    std::string key;   // upper-cased, the sort key
    std::string text;  // as reported
  };
  std::string KeyOf(std::string_view path) const;

  UpperCaseFn upper_;
  std::vector<Entry> entries_;
};

}  // namespace vt
