// libFuzzer target: "Section?Name" paths and the typed reads and writes of the settings store
// against the in-memory registry, as a sequence of operations with fuzzed paths, values and
// stored types. Besides the sanitizers' findings it stops when a path without '?' is not
// refused, a key stays open, a read gives more than its buffer, or a value that landed in an
// existing key does not read back.
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "settings/MemoryRegistry.h"
#include "settings/QRegistry.h"

namespace {

// Most paths are short; a flag makes one long enough to pass the name's 1000 characters and
// the registry's 255-character key names.
std::string Path(vtfuzz::Input& in) {
  const std::uint8_t len = in.U8();
  return in.Text(len & 0x80 ? static_cast<std::size_t>(len & 0x7F) * 16 : len);
}

class Store {
 public:
  Store() : reg_(mem_) {}
  vt::MemoryRegistry mem_;
  vt::TQRegistry reg_;

  // The key the path addresses when it exists, for checking that a write landed.
  bool KeyExists(const std::string& path) {
    std::string section, name;
    vt::TQRegistry::GetParams(path, section, name);
    if (section.find('\0') != std::string::npos || name.find('\0') != std::string::npos) return false;
    const auto key = mem_.Open(reg_.KeyPath(section), false);
    if (key) mem_.Close(key);
    return key != 0;
  }
  // A value of any type and size, as another program may have stored it.
  void PutRaw(const std::string& path, vt::RegType type, const std::vector<std::uint8_t>& data) {
    std::string section, name;
    vt::TQRegistry::GetParams(path, section, name);
    const auto key = mem_.Open(reg_.KeyPath(section), true);
    if (!key) return;
    mem_.Set(key, name, type, data.data(), data.size());
    mem_.Close(key);
  }
};

// One operation; *refusable is set when its path has no '?' and the operation must throw.
void Step(Store& s, vtfuzz::Input& in, bool* refusable) {
  const std::uint8_t op = in.U8() % 8;
  if (op == 7) {
    s.reg_.SetBaseKey(in.Text(in.U8() % 80));
    return;
  }
  const std::string path = Path(in);
  const bool split = path.find('?') != std::string::npos;
  *refusable = !split && op != 6;
  if (split) {
    std::string section, name;
    vt::TQRegistry::GetParams(path, section, name);
    VT_FUZZ_CHECK(section.find('?') == std::string::npos && name.size() <= 1000);
    VT_FUZZ_CHECK(path.compare(0, section.size() + 1 + name.size(), section + "?" + name) == 0);
  }
  vt::TQRegistry& reg = s.reg_;
  switch (op) {
    case 0: {
      const std::string value = in.Text(in.U8());
      reg.WriteString(path, value);
      std::string back = "unchanged";
      if (s.KeyExists(path)) VT_FUZZ_CHECK(reg.ReadString(path, back) && back == value.substr(0, value.find('\0')));
      break;
    }
    case 1: {
      const auto value = static_cast<std::int32_t>(in.U32());
      reg.WriteInteger(path, value);
      std::int32_t back = ~value;
      if (s.KeyExists(path)) VT_FUZZ_CHECK(reg.ReadInteger(path, back) && back == value);
      break;
    }
    case 2: {
      int size = static_cast<std::int8_t>(in.U8());
      const bool noData = in.U8() & 1;
      const std::vector<std::uint8_t> bytes = in.Bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
      if (size > 0) size = static_cast<int>(bytes.size());
      const vtfuzz::Exact data(bytes);
      reg.WriteBinary(path, noData ? nullptr : data.get(), size);
      if (size > 0 && !noData && s.KeyExists(path)) {
        vtfuzz::Exact back(std::vector<std::uint8_t>(bytes.size()));
        int got = size;
        VT_FUZZ_CHECK(reg.ReadBinary(path, back.get(), got) == size && std::memcmp(back.get(), data.get(), bytes.size()) == 0);
      }
      break;
    }
    case 3: {
      const int capacity = static_cast<int>(in.U16() % 600) - 40;
      const bool noBuffer = in.U8() & 1;
      vtfuzz::Exact buf(std::vector<std::uint8_t>(capacity > 0 ? static_cast<std::size_t>(capacity) : 0));
      int size = capacity;
      const int got = reg.ReadBinary(path, noBuffer ? nullptr : buf.get(), size);
      VT_FUZZ_CHECK(got == size && got >= 0 && got <= (noBuffer ? 0 : std::max(capacity, 0)));
      break;
    }
    case 4: {
      std::string value = "unchanged";
      if (!reg.ReadString(path, value)) VT_FUZZ_CHECK(value == "unchanged");
      VT_FUZZ_CHECK(value.find('\0') == std::string::npos);
      break;
    }
    case 5: {
      std::int32_t value = 12345;
      if (!reg.ReadInteger(path, value)) VT_FUZZ_CHECK(value == 12345);
      break;
    }
    case 6: {
      const auto type = static_cast<vt::RegType>(in.U8() % 6);
      const std::vector<std::uint8_t> data = in.Bytes(in.U8() % 16);
      if (split) s.PutRaw(path, type, data);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
  vtfuzz::Input in{bytes, length};
  Store s;
  if (in.U8() & 1) s.reg_.SetBaseKey("Software\\Brisvane\\Vantrel");
  while (in.n > 0) {
    bool refusable = false, refused = false;
    try {
      Step(s, in, &refusable);
    } catch (const vt::RegistryPathError&) {
      refused = true;
    }
    VT_FUZZ_CHECK(refused == refusable);
    VT_FUZZ_CHECK(s.mem_.OpenKeys() == 0);
  }
  return 0;
}
