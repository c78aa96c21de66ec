#include "util/AnsiText.h"

#include <windows.h>

namespace vt {
void AnsiUpperCase(char* text, std::size_t len) {
  if (text && len) CharUpperBuffA(text, static_cast<DWORD>(len));
}

std::wstring WideFromAnsi(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

char LocaleDecimalSeparator() {
  char text[8] = {0};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 0 && text[0]) return text[0];
  return '.';
}
}  // namespace vt
