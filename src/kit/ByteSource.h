// Random-access reading of a file or a buffer that can never run past the end: every read
// says whether all of its bytes were there. Header readers walk untrusted files through it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace vt {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // False, with out left undefined, when [offset, offset + n) is not wholly inside the data.
  virtual bool Read(std::uint64_t offset, void* out, std::size_t n) = 0;

  bool Byte(std::uint64_t offset, std::uint8_t& v) { return Read(offset, &v, 1); }
  bool U16(std::uint64_t offset, bool bigEndian, std::uint32_t& v);
  bool U32(std::uint64_t offset, bool bigEndian, std::uint32_t& v);
};

// Borrows the bytes; they must outlive the source.
class MemorySource final : public ByteSource {
 public:
  MemorySource(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, void* out, std::size_t n) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// A file opened for reading, with a small window of cached bytes so that a byte-by-byte walk
// does not cost one system call per byte.
class FileSource final : public ByteSource {
 public:
  // Null when the file cannot be opened.
  static std::unique_ptr<FileSource> Open(const std::string& path);
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, void* out, std::size_t n) override;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  static constexpr std::size_t kWindow = 16384;
  std::unique_ptr<std::FILE, Closer> file_;
  std::uint64_t size_ = 0;
  std::uint64_t windowStart_ = 0;
  std::size_t windowLength_ = 0;
  std::unique_ptr<std::uint8_t[]> window_{new std::uint8_t[kWindow]};
  bool Fill(std::uint64_t offset);
};

}  // namespace vt
