// Handles as they cross processes: 32 significant bits in every build. A 64-bit process
// truncates when it writes one and sign-extends when it reads one back, the rule Windows gives
// for handles shared between 32-bit and 64-bit programs, so that either bitness of resident
// serves hook libraries of both.
#pragma once
#include <cstdint>

namespace vt {

template <class Handle>
constexpr std::uint32_t Handle32(Handle h) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h));
}

template <class Handle>
Handle FromHandle32(std::uint32_t h) {
  return reinterpret_cast<Handle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}

// A predefined registry key (HKEY_CURRENT_USER is 0x80000001) read back from 32 bits equals
// the 64-bit build's constant only after sign extension.
constexpr std::uint64_t Widen32(std::uint32_t h) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int32_t>(h)));
}

}  // namespace vt
