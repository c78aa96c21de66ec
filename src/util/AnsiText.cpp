#include "util/AnsiText.h"

#include <windows.h>

namespace vt {
void AnsiUpperCase(char* text, std::size_t len) {
  if (text && len) CharUpperBuffA(text, static_cast<DWORD>(len));
}
}  // namespace vt
