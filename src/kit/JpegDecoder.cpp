#include "kit/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vt {

namespace {

struct ErrorTrap {
  jpeg_error_mgr mgr;  // first, so that libjpeg's pointer to it is a pointer to this
  std::jmp_buf jump;
};

struct CancelProgress {
  jpeg_progress_mgr mgr;  // first, for the same reason
  const CancelCheck* cancelled;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1); }
void Silent(j_common_ptr) {}  // warnings of damaged but readable data are no news to the user

void CheckCancel(j_common_ptr cinfo) {
  auto* p = reinterpret_cast<CancelProgress*>(cinfo->progress);
  if (p->cancelled && *p->cancelled && (*p->cancelled)()) ErrorExit(cinfo);
}

// Everything between setjmp and a possible longjmp is plain data or libjpeg's own, so the jump
// skips no destructor. rows is where the decoded lines go once the size is known.
bool Run(jpeg_decompress_struct& cinfo, ErrorTrap& trap, CancelProgress& progress, const std::uint8_t* data,
         std::size_t size, int scaleNum, bool headerOnly, PixelImage& out, Size& full) {
  if (setjmp(trap.jump)) return false;
  jpeg_create_decompress(&cinfo);  // clears everything but the error manager
  cinfo.progress = &progress.mgr;
  cinfo.mem->max_memory_to_use = kJpegWorkMemory;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  full = Size{static_cast<std::int32_t>(cinfo.image_width), static_cast<std::int32_t>(cinfo.image_height)};
  if (headerOnly) return true;
  cinfo.scale_num = static_cast<unsigned>(scaleNum < 1 ? 1 : scaleNum > 8 ? 8 : scaleNum);
  cinfo.scale_denom = 8;
  cinfo.out_color_space = JCS_EXT_BGRA;  // the byte order of a 32-bit DIB, alpha 0xFF
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_calc_output_dimensions(&cinfo);
  if (!out.Allocate(static_cast<std::int32_t>(cinfo.output_width), static_cast<std::int32_t>(cinfo.output_height),
                    kJpegMaxOutputPixels))
    return false;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 4) return false;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(&out.pixels[std::size_t(cinfo.output_scanline) * out.width]);
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

bool Decode(const std::uint8_t* data, std::size_t size, int scaleNum, bool headerOnly, PixelImage& out, Size& full,
            const CancelCheck& cancelled) {
  out = PixelImage{};
  if (!data || size < 4) return false;
  jpeg_decompress_struct cinfo{};
  ErrorTrap trap{};
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = ErrorExit;
  trap.mgr.output_message = Silent;
  CancelProgress progress{};
  progress.mgr.progress_monitor = CheckCancel;
  progress.cancelled = &cancelled;
  bool ok = false;
  try {
    ok = Run(cinfo, trap, progress, data, size, scaleNum, headerOnly, out, full);
  } catch (...) {  // the output buffer could not be had; libjpeg's own state is still sound
    ok = false;
  }
  jpeg_destroy_decompress(&cinfo);  // safe after any failure, and after a failed create
  if (!ok) out = PixelImage{};
  return ok;
}

}  // namespace

bool JpegSize(const std::uint8_t* data, std::size_t size, Size& full) {
  PixelImage unused;
  return Decode(data, size, 8, true, unused, full, {});
}

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, int scaleNum, PixelImage& out, const CancelCheck& cancelled) {
  Size full;
  return Decode(data, size, scaleNum, false, out, full, cancelled);
}

}  // namespace vt
