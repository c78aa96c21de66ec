#include "util/TextCase.h"

namespace vt {

void AsciiUpperCase(char* text, std::size_t len) {
  for (std::size_t i = 0; i < len; ++i)
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
}

}  // namespace vt
