#include "settings/QRegistry.h"

#include <cstring>
#include <vector>

namespace vt {

namespace {

constexpr std::size_t kNameMax = 1000;

// The registry's C interface ends a name at its first NUL, so such a name would address a
// different key or value than the one asked for: it is refused instead.
bool Addressable(const std::string& section, const std::string& name) {
  return section.find('\0') == std::string::npos && name.find('\0') == std::string::npos;
}

// One typed access: the path split (a path without '?' throws before anything is opened),
// the key opened and closed again on every way out. Not open when the name is not
// addressable or the key cannot be opened.
class Access {
 public:
  Access(RegistryBackend& registry, const TQRegistry& store, const std::string& path, bool create)
      : registry_(registry) {
    std::string section;
    TQRegistry::GetParams(path, section, name_);
    if (Addressable(section, name_)) key_ = registry.Open(store.KeyPath(section), create);
  }
  ~Access() {
    if (key_) registry_.Close(key_);
  }
  Access(const Access&) = delete;
  Access& operator=(const Access&) = delete;
  RegistryBackend::Key get() const { return key_; }
  const std::string& name() const { return name_; }
  explicit operator bool() const { return key_ != 0; }

 private:
  RegistryBackend& registry_;
  RegistryBackend::Key key_ = 0;
  std::string name_;
};

}  // namespace

void TQRegistry::GetParams(const std::string& path, std::string& section, std::string& name) {
  std::size_t mark = path.find('?');
  if (mark == std::string::npos) throw RegistryPathError();
  section = path.substr(0, mark);
  name = path.substr(mark + 1, kNameMax);
}

std::string TQRegistry::KeyPath(const std::string& section) const {
  std::string key = section.empty() ? BaseKey : BaseKey + "\\" + section;
  // Only reached with an empty base key: the registry refuses a path that starts with "\".
  if (!key.empty() && key[0] == '\\') key.erase(0, 1);
  return key;
}

bool TQRegistry::ReadString(const std::string& path, std::string& value) {
  Access key(Registry, *this, path, false);
  if (!key) return false;
  RegType type = RegType::Other;
  std::vector<std::uint8_t> data;
  // An absent value in an existing key reads as the empty text, not as a failure.
  if (!Registry.Query(key.get(), key.name(), &type, &data) || data.empty()) {
    value.clear();
    return true;
  }
  if (type != RegType::String && type != RegType::ExpandString) return false;
  // Stored text need not carry its NUL; it is taken up to the first one or the data's end.
  const char* text = reinterpret_cast<const char*>(data.data());
  const void* nul = std::memchr(text, '\0', data.size());
  value.assign(text, nul ? static_cast<const char*>(nul) - text : data.size());
  return true;
}

void TQRegistry::WriteString(const std::string& path, const std::string& value) {
  Access key(Registry, *this, path, true);
  if (!key) return;
  // A text ends at its first NUL, which is stored with it.
  const char* text = value.c_str();
  Registry.Set(key.get(), key.name(), RegType::String, text, std::strlen(text) + 1);
}

bool TQRegistry::ReadInteger(const std::string& path, std::int32_t& value) {
  Access key(Registry, *this, path, false);
  if (!key) return false;
  RegType type = RegType::Other;
  std::vector<std::uint8_t> data;
  if (!Registry.Query(key.get(), key.name(), &type, &data)) return false;
  // A shorter REG_DWORD would leave bytes of the result undefined.
  if (type != RegType::Dword || data.size() != 4) return false;
  std::uint32_t bits = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                       static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  value = static_cast<std::int32_t>(bits);
  return true;
}

void TQRegistry::WriteInteger(const std::string& path, std::int32_t value) {
  Access key(Registry, *this, path, true);
  if (!key) return;
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  std::uint8_t data[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  Registry.Set(key.get(), key.name(), RegType::Dword, data, sizeof data);
}

int TQRegistry::ReadBinary(const std::string& path, void* buffer, int& size) {
  const int capacity = buffer ? size : 0;
  size = 0;
  Access key(Registry, *this, path, false);
  if (!key) return 0;
  RegType type = RegType::Other;
  std::vector<std::uint8_t> data;
  if (!Registry.Query(key.get(), key.name(), &type, &data)) return 0;
  if (type == RegType::String || type == RegType::ExpandString || type == RegType::Dword) return 0;
  if (capacity <= 0 || data.size() > static_cast<std::size_t>(capacity)) return 0;
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  size = static_cast<int>(data.size());
  return size;
}

void TQRegistry::WriteBinary(const std::string& path, const void* buffer, int size) {
  std::string section, name;
  GetParams(path, section, name);  // a bad path is reported whatever the data
  // A negative size or missing data has nothing defined to store; the old value stays.
  if (size < 0 || (size > 0 && !buffer)) return;
  Access key(Registry, *this, path, true);
  if (!key) return;
  Registry.Set(key.get(), key.name(), RegType::Binary, buffer, static_cast<std::size_t>(size));
}

}  // namespace vt
