// The settings store's registry in the Windows build: keys below one root of the real
// registry (the current user's hive unless a test says otherwise), opened with full access.
// Keys are closed, never flushed.
#pragma once
#include <windows.h>

#include "settings/RegistryBackend.h"

namespace vt {

class Win32Registry : public RegistryBackend {
 public:
  explicit Win32Registry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}

  Key Open(const std::string& path, bool create) override;
  void Close(Key key) override;
  // A value larger than 1 MiB counts as unreadable.
  bool Query(Key key, const std::string& name, RegType* type, std::vector<std::uint8_t>* data) override;
  bool Set(Key key, const std::string& name, RegType type, const void* data, std::size_t size) override;

  // Stores a value of any registry type, also those that RegType folds into Other.
  bool SetRaw(Key key, const std::string& name, DWORD type, const void* data, std::size_t size);

  static RegType TypeOf(DWORD type);

 private:
  HKEY root_;
};

}  // namespace vt
