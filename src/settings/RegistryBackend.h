// What the settings store needs of a registry: a tree of keys below the current user's root,
// holding typed values, names compared without regard to case. The Windows build uses the
// real registry; the native build and its tests use an in-memory tree with the same rules.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vt {

enum class RegType { String, ExpandString, Dword, DwordBigEndian, Binary, Other };

class RegistryBackend {
 public:
  using Key = std::uintptr_t;  // 0 = not open
  virtual ~RegistryBackend() = default;
  // Opens a key by its path below the root ("" = the root itself, "A\\B" nested). With
  // create, missing keys (and their parents) are made. 0 when it cannot be opened.
  virtual Key Open(const std::string& path, bool create) = 0;
  virtual void Close(Key key) = 0;
  // Type and data of a value; false when the value is absent or cannot be read.
  // "" names the key's default value.
  virtual bool Query(Key key, const std::string& name, RegType* type, std::vector<std::uint8_t>* data) = 0;
  virtual bool Set(Key key, const std::string& name, RegType type, const void* data, std::size_t size) = 0;
};

}  // namespace vt
