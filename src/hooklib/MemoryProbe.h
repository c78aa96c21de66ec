// Reads of memory inside the host that nobody vouches for, checked with the memory manager.
#pragma once
#include <windows.h>

#include <cstddef>

#include "util/IdList.h"

namespace vt::hook {

// Memory of this process that the dialog or its list view owns: readable only as far as the
// memory manager says, region by region. Unlike a probing read this touches nothing, so it
// never trips a guard page or takes a fault.
inline bool ReadableProtection(DWORD protect) {
  if (protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
  return (protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                     PAGE_EXECUTE_WRITECOPY)) != 0;
}

class MemoryProbe final : public ReadProbe {
 public:
  bool Readable(const void* p, std::size_t n) const override {
    if (!p) return false;
    auto at = reinterpret_cast<UINT_PTR>(p);
    const UINT_PTR end = at + n;
    if (end < at) return false;
    // Every region the range touches must be committed and readable; ranges here are at most
    // a few pages long, so this takes a handful of queries.
    while (at < end) {
      MEMORY_BASIC_INFORMATION info;
      if (!VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info)) return false;
      if (info.State != MEM_COMMIT || !ReadableProtection(info.Protect)) return false;
      const UINT_PTR regionEnd = reinterpret_cast<UINT_PTR>(info.BaseAddress) + info.RegionSize;
      if (regionEnd <= at) return false;
      at = regionEnd;
    }
    return true;
  }
  // A NUL-terminated text of at most `max` bytes lies wholly in readable memory.
  bool ReadableText(const char* text, std::size_t max) const {
    for (std::size_t i = 0; i < max; ++i) {
      // One query per region: the text is checked a page at a time.
      if ((i == 0 || (reinterpret_cast<UINT_PTR>(text + i) & 0xFFF) == 0) && !Readable(text + i, 1)) return false;
      if (text[i] == '\0') return true;
    }
    return false;
  }
};

}  // namespace vt::hook
