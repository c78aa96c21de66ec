#include "kit/ByteSource.h"

#include <cstring>

namespace vt {

namespace {

bool SeekTo(std::FILE* f, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool SizeOf(std::FILE* f, std::uint64_t& size) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return false;
  const long long end = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return false;
  const long long end = ftello(f);
#endif
  if (end < 0) return false;
  size = static_cast<std::uint64_t>(end);
  return SeekTo(f, 0);
}

}  // namespace

bool ByteSource::U16(std::uint64_t offset, bool bigEndian, std::uint32_t& v) {
  std::uint8_t b[2];
  if (!Read(offset, b, 2)) return false;
  v = bigEndian ? (b[0] << 8 | b[1]) : (b[1] << 8 | b[0]);
  return true;
}

bool ByteSource::U32(std::uint64_t offset, bool bigEndian, std::uint32_t& v) {
  std::uint8_t b[4];
  if (!Read(offset, b, 4)) return false;
  if (bigEndian)
    v = std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
  else
    v = std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
  return true;
}

bool MemorySource::Read(std::uint64_t offset, void* out, std::size_t n) {
  // Written so that no sum can wrap: offset and n are each checked against what is left.
  if (offset > size_ || n > size_ - offset) return false;
  if (n) std::memcpy(out, data_ + offset, n);
  return true;
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  std::unique_ptr<FileSource> s(new FileSource);
  s->file_.reset(std::fopen(path.c_str(), "rb"));
  if (!s->file_ || !SizeOf(s->file_.get(), s->size_)) return nullptr;
  return s;
}

bool FileSource::Fill(std::uint64_t offset) {
  windowLength_ = 0;
  windowStart_ = offset;
  if (!SeekTo(file_.get(), offset)) return false;
  windowLength_ = std::fread(window_.get(), 1, kWindow, file_.get());
  return windowLength_ > 0;
}

bool FileSource::Read(std::uint64_t offset, void* out, std::size_t n) {
  if (offset > size_ || n > size_ - offset) return false;
  auto* dst = static_cast<std::uint8_t*>(out);
  while (n > 0) {
    if (offset < windowStart_ || offset >= windowStart_ + windowLength_) {
      if (!Fill(offset)) return false;  // the file shrank under us, or a read error
    }
    const std::size_t at = static_cast<std::size_t>(offset - windowStart_);
    const std::size_t take = n < windowLength_ - at ? n : windowLength_ - at;
    std::memcpy(dst, window_.get() + at, take);
    dst += take;
    offset += take;
    n -= take;
  }
  return true;
}

}  // namespace vt
