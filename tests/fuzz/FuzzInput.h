// The fuzz input read as a stream of fields; reading past its end gives zeros and empty byte
// strings, so that every input is a complete case.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vtfuzz {

// A broken promise is a finding like a sanitizer's: the run stops and the input is kept.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}
#define VT_FUZZ_CHECK(c) ((c) ? void() : ::vtfuzz::Fail(#c, __FILE__, __LINE__))

struct Input {
  const std::uint8_t* p;
  std::size_t n;
  std::uint8_t U8() { return n ? (--n, *p++) : 0; }
  // Little-endian; the fields are read one after the other (the operands of | are unsequenced).
  std::uint16_t U16() {
    const std::uint8_t low = U8();
    return static_cast<std::uint16_t>(low | U8() << 8);
  }
  std::uint32_t U32() {
    const std::uint16_t low = U16();
    return low | static_cast<std::uint32_t>(U16()) << 16;
  }
  // Up to `count` bytes (fewer when the input ends).
  std::vector<std::uint8_t> Bytes(std::size_t count) {
    count = count < n ? count : n;
    std::vector<std::uint8_t> b(p, p + count);
    p += count;
    n -= count;
    return b;
  }
  std::string Text(std::size_t count) {
    const std::vector<std::uint8_t> b = Bytes(count);
    return std::string(b.begin(), b.end());
  }
  std::vector<std::uint8_t> Rest() { return Bytes(n); }
};

// A heap block of exactly the given bytes (none for size 0), so that ASan reports any read
// past its end.
class Exact {
 public:
  Exact(const void* data, std::size_t size) : size_(size), data_(new std::uint8_t[size]) {
    if (size) std::memcpy(data_.get(), data, size);
  }
  explicit Exact(const std::vector<std::uint8_t>& b) : Exact(b.data(), b.size()) {}
  std::uint8_t* get() const { return data_.get(); }
  std::size_t size() const { return size_; }

 private:
  std::size_t size_;
  std::unique_ptr<std::uint8_t[]> data_;
};

}  // namespace vtfuzz
