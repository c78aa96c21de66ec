// The shell's identifier-list array (the CFSTR_SHELLIDLIST clipboard format): a count n, n+1
// 32-bit offsets from the start of the block, the parent folder's absolute list, then the n
// objects' lists relative to it. Blocks come from other programs during a drop, so reading
// checks every offset and every list against the block's size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vt {

using IdListBytes = std::vector<std::uint8_t>;

// Index 0 is the parent, 1..n the objects' absolute lists (parent + object); none for a
// malformed block or one naming more than kMaxShellIdArrayItems objects.
std::optional<std::vector<IdListBytes>> ReadShellIdArray(const void* block, std::size_t size);
inline constexpr std::uint32_t kMaxShellIdArrayItems = 4096;
// What the objects' absolute lists may take together: a drop of thousands of files fits.
inline constexpr std::size_t kMaxShellIdArrayBytes = 4u << 20;

// A block naming `items` (each relative to `parent`); empty when a list is malformed.
std::vector<std::uint8_t> MakeShellIdArray(const IdListBytes& parent, const std::vector<IdListBytes>& items);

}  // namespace vt
