// The size texts of the preview pane: bytes, Kbytes, Mbytes, Gbytes, three significant digits
// below 100, truncated, never rounded.
#pragma once
#include <cstdint>
#include <string>

namespace vt {
std::string ScaledSizeText(std::int64_t divisor, std::int64_t size, char decimalSeparator = '.');
std::string SizeToText(std::int64_t size, char decimalSeparator = '.');
}  // namespace vt
