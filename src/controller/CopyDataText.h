// Texts that arrive in a WM_COPYDATA from another process. Nothing in the payload is trusted:
// the text must end with a NUL inside the bytes that were sent, and must not be absurdly long.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vt {

// Real senders send a program path or file name of a few hundred bytes at most.
inline constexpr std::uint32_t kMaxCopyDataText = 4096;

// The text before the first NUL within size bytes; none when data is null, size is 0 or above
// kMaxCopyDataText, or no NUL lies inside the payload. The text itself may be empty.
std::optional<std::string_view> CopyDataText(const void* data, std::uint32_t size);

}  // namespace vt
