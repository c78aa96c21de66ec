#include "util/SizeText.h"

#include <cmath>
#include <cstdio>

namespace vt {

std::string ScaledSizeText(std::int64_t divisor, std::int64_t size, char decimalSeparator) {
  if (divisor == 1) return std::to_string(size);
  if (divisor == 0) return std::to_string(size);  // nothing sensible to divide by
  // Extended precision keeps every 64-bit size exact; the digits shown are cut, never rounded,
  // so that 2047 bytes never reads as 2.00 Kbytes.
  long double x = static_cast<long double>(size) / static_cast<long double>(divisor);
  if (x < 10)
    x = std::trunc(x * 100) / 100;
  else if (x < 100)
    x = std::trunc(x * 10) / 10;
  else
    x = std::trunc(x);
  if (x == 0) x = 0;  // a cut negative fraction must not print as "-0"
  // The cut value has at most two decimals, which a double prints back exactly at 15 digits.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", static_cast<double>(x));
  std::string s = buffer;
  bool hasSeparator = false;
  for (char& c : s) {
    if (c == '.') {
      c = decimalSeparator;
      hasSeparator = true;
    }
  }
  // Three significant digits below 100: 1.5 -> 1.50, 2 -> 2.00, 10 -> 10.0.
  if (s.size() < 3 || (s.size() < 4 && hasSeparator)) {
    if (!hasSeparator) s += decimalSeparator;
    s += s.size() < 3 ? "00" : "0";
  }
  return s;
}

std::string SizeToText(std::int64_t size, char decimalSeparator) {
  if (size < 1024) return std::to_string(size) + " bytes";
  if (size < 1048576) return ScaledSizeText(1024, size, decimalSeparator) + " Kbytes";
  if (size < 1073741824) return ScaledSizeText(1048576, size, decimalSeparator) + " Mbytes";
  return ScaledSizeText(1073741824, size, decimalSeparator) + " Gbytes";
}

}  // namespace vt
