// The block the message census library fills inside the resident program and a benchmark
// reads: fixed-width fields, the same in both builds.
#pragma once
#include <cstdint>

namespace vtc {

inline constexpr char kCensusName[] = "VtMessageCensus";
inline constexpr std::uint32_t kCensusEntries = 512;
enum Kind : std::uint32_t { kRetrieved = 0, kSentInThread = 1, kSentByOtherThread = 2 };

struct CensusEntry {
  std::uint32_t window;
  std::uint32_t message;
  std::uint32_t kind;
  std::uint32_t count;
  char windowClass[48];
};

struct CensusBlock {
  volatile std::uint32_t counting;  // 0: the hooks count nothing
  std::uint32_t used;
  std::uint32_t dropped;
  std::uint32_t reserved;
  CensusEntry entries[kCensusEntries];
};

}  // namespace vtc
