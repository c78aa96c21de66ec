// The one door to the program's stored settings: a path "Section?Name" names a key below the
// base key and a value in it. Each call opens the key, does one typed access and closes it.
// Reads report success and leave the caller's value untouched on failure; writes never fail
// visibly.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "settings/RegistryBackend.h"

namespace vt {

class RegistryPathError : public std::runtime_error {
 public:
  RegistryPathError() : std::runtime_error("Error in QRegistry.GetParams") {}
};

class TQRegistry {
 public:
  explicit TQRegistry(RegistryBackend& registry) : Registry(registry) {}

  void SetBaseKey(const std::string& key) { BaseKey = key; }
  const std::string& GetBaseKey() const { return BaseKey; }

  // Splits at the first '?'; the name keeps at most 1000 characters. Throws RegistryPathError
  // for a path without '?'.
  static void GetParams(const std::string& path, std::string& section, std::string& name);
  // The key path a section addresses (below the root).
  std::string KeyPath(const std::string& section) const;

  bool ReadString(const std::string& path, std::string& value);
  void WriteString(const std::string& path, const std::string& value);
  bool ReadInteger(const std::string& path, std::int32_t& value);
  void WriteInteger(const std::string& path, std::int32_t value);
  // size: capacity on entry, bytes copied on return (also the result); 0 when nothing read.
  int ReadBinary(const std::string& path, void* buffer, int& size);
  void WriteBinary(const std::string& path, const void* buffer, int size);

 private:
  RegistryBackend& Registry;
  std::string BaseKey;
};

}  // namespace vt
