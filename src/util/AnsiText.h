// Text rules of the user's ANSI code page and locale (Windows build only).
#pragma once
#include <cstddef>

namespace vt {
// Upper-cases in place by the locale's rules; fits the ignore-list writer's UpperCaseFn.
void AnsiUpperCase(char* text, std::size_t len);
// The user's decimal separator, for SizeToText.
char LocaleDecimalSeparator();
}  // namespace vt
