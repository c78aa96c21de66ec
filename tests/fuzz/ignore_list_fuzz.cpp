// libFuzzer target: the ignore list in the shared block. The block starts zeroed; the input
// may first put raw bytes into the list's area, as a damaged or hostile participant could,
// then names (length-prefixed, any bytes) written through the codec. Besides the sanitizers'
// findings it stops when the reader gives a text that is not inside its entry, the lookup
// disagrees with the reader, written names do not read back, or anything outside the list's
// area changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "FuzzInput.h"
#include "protocol/IgnoreList.h"

namespace {

constexpr std::size_t kAreaBegin = offsetof(vt::SharedBlock, IgnoreList);
constexpr std::size_t kAreaEnd = kAreaBegin + sizeof(vt::SharedBlock::IgnoreList);

bool OutsideAreaIsZero(const vt::SharedBlock& block) {
  static const auto zero = std::make_unique<std::uint8_t[]>(sizeof(vt::SharedBlock));
  const auto* b = reinterpret_cast<const std::uint8_t*>(&block);
  return std::memcmp(b, zero.get(), kAreaBegin) == 0 &&
         std::memcmp(b + kAreaEnd, zero.get(), sizeof(vt::SharedBlock) - kAreaEnd) == 0;
}

void CheckReader(const vt::SharedBlock& block, vtfuzz::Input& in) {
  for (int i = -1; i <= vt::kIgnoreEntries; ++i) {
    const std::string_view text = vt::SharedIgnoreEntry(block, i);
    if (i < 0 || i >= vt::kIgnoreEntries) {
      VT_FUZZ_CHECK(text.empty());
      continue;
    }
    if (text.empty()) continue;
    VT_FUZZ_CHECK(text.data() == block.IgnoreList[i] && text.size() <= std::size_t{vt::kIgnoreNameMax});
    VT_FUZZ_CHECK(text.data()[text.size()] == '\0' && std::memchr(text.data(), 0, text.size()) == nullptr);
  }
  VT_FUZZ_CHECK(vt::SharedIgnoreEntry(block, INT32_MIN).empty() && vt::SharedIgnoreEntry(block, INT32_MAX).empty());
  const std::vector<std::string> names = vt::ReadIgnoreList(block);
  VT_FUZZ_CHECK(names.size() <= std::size_t{vt::kIgnoreEntries});
  for (const std::string& name : names) VT_FUZZ_CHECK(!name.empty() && vt::IgnoreListContains(block, name));
  // Any other name is on the list exactly when the reader gives it.
  const std::string query = in.Text(in.U8() % 90);
  bool listed = false;
  for (const std::string& name : names) listed = listed || name == query;
  VT_FUZZ_CHECK(vt::IgnoreListContains(block, query) == listed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
  static const auto block = std::make_unique<vt::SharedBlock>();
  std::memset(block.get(), 0, sizeof(vt::SharedBlock));
  vtfuzz::Input in{bytes, length};
  const std::uint8_t mode = in.U8();
  if (mode & 1) {
    const std::vector<std::uint8_t> raw = in.Bytes(in.U16() % (sizeof block->IgnoreList + 1));
    if (!raw.empty()) std::memcpy(block->IgnoreList, raw.data(), raw.size());
    CheckReader(*block, in);
  }
  if (mode & 2) {
    std::vector<std::string> names;
    const int count = in.U8() % 64;
    for (int i = 0; i < count && in.n > 0; ++i) names.push_back(in.Text(in.U8() % 100));
    const vt::UpperCaseFn upper = mode & 4 ? nullptr : vt::AsciiUpperCase;
    const vt::PutIgnoreResult r = vt::PutIgnoreList(*block, names, upper);

    std::vector<std::string> expected;
    int refused = 0;
    for (std::string name : names) {
      if (expected.size() >= std::size_t{vt::kIgnoreEntries} || name.size() > std::size_t{vt::kIgnoreNameMax} ||
          name.find('\0') != std::string::npos) {
        ++refused;
        continue;
      }
      if (name.empty()) continue;
      if (upper) upper(name.data(), name.size());
      expected.push_back(name);
    }
    VT_FUZZ_CHECK(r.written == static_cast<int>(expected.size()) && r.refused == refused);
    VT_FUZZ_CHECK(vt::ReadIgnoreList(*block) == expected);
    CheckReader(*block, in);
  }
  VT_FUZZ_CHECK(OutsideAreaIsZero(*block));
  return 0;
}
