#include "util/AnsiText.h"

#include <windows.h>

namespace vt {
void AnsiUpperCase(char* text, std::size_t len) {
  if (text && len) CharUpperBuffA(text, static_cast<DWORD>(len));
}

char LocaleDecimalSeparator() {
  char text[8] = {0};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 0 && text[0]) return text[0];
  return '.';
}
}  // namespace vt
