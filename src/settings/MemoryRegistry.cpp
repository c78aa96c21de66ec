#include "settings/MemoryRegistry.h"

namespace vt {

namespace {

// The registry's own limits: a key name component of 255 characters, a value name of 16383.
constexpr std::size_t kKeyNameMax = 255;
constexpr std::size_t kValueNameMax = 16383;

std::string Fold(const std::string& name) {
  std::string folded = name;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

// Splits a key path at its backslashes. Empty components between or after backslashes are
// passed over as the registry does; a leading backslash, a NUL or an overlong component
// makes the path unusable.
bool SplitKeyPath(const std::string& path, std::vector<std::string>* parts) {
  if (!path.empty() && path[0] == '\\') return false;
  if (path.find('\0') != std::string::npos) return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      if (end - start > kKeyNameMax) return false;
      parts->push_back(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return true;
}

bool ValueNameUsable(const std::string& name) {
  return name.size() <= kValueNameMax && name.find('\0') == std::string::npos;
}

}  // namespace

MemoryRegistry::MemoryRegistry() = default;
MemoryRegistry::~MemoryRegistry() = default;

RegistryBackend::Key MemoryRegistry::Open(const std::string& path, bool create) {
  std::vector<std::string> parts;
  if (!SplitKeyPath(path, &parts)) return 0;
  Node* node = &root_;
  for (const std::string& part : parts) {
    std::string folded = Fold(part);
    auto it = node->children.find(folded);
    if (it == node->children.end()) {
      if (!create) return 0;
      it = node->children.emplace(folded, std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }
  Key key = next_++;
  open_[key] = node;
  return key;
}

void MemoryRegistry::Close(Key key) { open_.erase(key); }

MemoryRegistry::Node* MemoryRegistry::Find(Key key) const {
  auto it = open_.find(key);
  return it == open_.end() ? nullptr : it->second;
}

bool MemoryRegistry::Query(Key key, const std::string& name, RegType* type, std::vector<std::uint8_t>* data) {
  Node* node = Find(key);
  if (!node || !ValueNameUsable(name)) return false;
  auto it = node->values.find(Fold(name));
  if (it == node->values.end()) return false;
  if (type) *type = it->second.type;
  if (data) *data = it->second.data;
  return true;
}

bool MemoryRegistry::Set(Key key, const std::string& name, RegType type, const void* data, std::size_t size) {
  Node* node = Find(key);
  if (!node || !ValueNameUsable(name) || (size > 0 && !data)) return false;
  Value& value = node->values[Fold(name)];
  value.type = type;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  value.data.assign(bytes, bytes + size);
  return true;
}

}  // namespace vt
