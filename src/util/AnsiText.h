// Text rules of the user's ANSI code page and locale (Windows build only).
#pragma once
#include <cstddef>
#include <string>

namespace vt {
// Upper-cases in place by the locale's rules; fits the ignore-list writer's UpperCaseFn.
void AnsiUpperCase(char* text, std::size_t len);
// The text in UTF-16 from the ANSI code page, for the shell's wide-only calls; empty when it
// does not convert.
std::wstring WideFromAnsi(const std::string& text);
// The user's decimal separator, for SizeToText.
char LocaleDecimalSeparator();
}  // namespace vt
