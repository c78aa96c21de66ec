#include "controller/CopyDataText.h"

#include <cstring>

namespace vt {

std::optional<std::string_view> CopyDataText(const void* data, std::uint32_t size) {
  if (!data || size == 0 || size > kMaxCopyDataText) return std::nullopt;
  const char* text = static_cast<const char*>(data);
  const void* nul = std::memchr(text, '\0', size);
  if (!nul) return std::nullopt;
  return std::string_view(text, static_cast<std::size_t>(static_cast<const char*>(nul) - text));
}

}  // namespace vt
