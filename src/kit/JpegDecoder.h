// JPEG decoding with libjpeg-turbo, into an owned 32-bit picture. Damaged data never ends the
// program: the library's fatal errors come back here as a failed result (setjmp/longjmp).
//
// Memory: libjpeg may use at most kJpegWorkMemory for its own buffers (a progressive 24 MP
// photo needs about 150 MB of coefficients); a file that needs more fails. The output is
// capped at kJpegMaxOutputPixels (128 MiB of pixels; a 24 MP photo at full scale fits, for
// comparison), which the scale chosen for the pane never comes near.
#pragma once
#include <cstddef>
#include <cstdint>
#include "kit/CancelCheck.h"
#include "kit/PixelImage.h"
#include "kit/Rect.h"

namespace vt {

constexpr long kJpegWorkMemory = 256L << 20;
constexpr std::uint64_t kJpegMaxOutputPixels = 32u << 20;

// Width and height from the frame header, without decoding; false for data libjpeg refuses.
bool JpegSize(const std::uint8_t* data, std::size_t size, Size& full);

// Decodes at scaleNum / 8 (1..8). False, with out empty, on damaged data, unsupported colour
// spaces (CMYK), too much memory, or when cancelled.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, int scaleNum, PixelImage& out,
                const CancelCheck& cancelled = {});

}  // namespace vt
