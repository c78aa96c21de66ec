// Upper-casing as a plug-in rule: window-free code takes the rule as a parameter, and the
// Windows build passes the user's ANSI locale rule (util/AnsiText.h).
#pragma once
#include <cstddef>

namespace vt {

// Upper-cases len bytes in place.
using UpperCaseFn = void (*)(char* text, std::size_t len);
void AsciiUpperCase(char* text, std::size_t len);

}  // namespace vt
