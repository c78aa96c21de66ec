// Text rules of the user's ANSI code page (Windows build only).
#pragma once
#include <cstddef>

namespace vt {
// Upper-cases in place by the locale's rules; fits the ignore-list writer's UpperCaseFn.
void AnsiUpperCase(char* text, std::size_t len);
}  // namespace vt
