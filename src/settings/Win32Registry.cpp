#include "settings/Win32Registry.h"

#include <climits>

#include "util/Handles.h"

namespace vt {

namespace {

// Predefined root handles are not ours to close; opening "" may hand one back.
bool Predefined(HKEY key) { return IsPredefinedKey(key); }

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// Every setting is a few bytes to a few kilobytes; a larger value was not written by this
// program and is not read (nor allocated for).
constexpr DWORD kMaxValueBytes = 1u << 20;

}  // namespace

RegType Win32Registry::TypeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return RegType::String;
    case REG_EXPAND_SZ: return RegType::ExpandString;
    case REG_DWORD: return RegType::Dword;
    case REG_DWORD_BIG_ENDIAN: return RegType::DwordBigEndian;
    case REG_BINARY: return RegType::Binary;
    default: return RegType::Other;
  }
}

RegistryBackend::Key Win32Registry::Open(const std::string& path, bool create) {
  if (HasNul(path)) return 0;
  HKEY key = nullptr;
  LONG result;
  if (create) {
    result = RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, &key, nullptr);
  } else {
    result = RegOpenKeyExA(root_, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  }
  if (result != ERROR_SUCCESS || !key) return 0;
  return reinterpret_cast<Key>(key);
}

void Win32Registry::Close(Key key) {
  HKEY handle = reinterpret_cast<HKEY>(key);
  if (handle && !Predefined(handle)) RegCloseKey(handle);
}

bool Win32Registry::Query(Key key, const std::string& name, RegType* type, std::vector<std::uint8_t>* data) {
  HKEY handle = reinterpret_cast<HKEY>(key);
  if (!handle || HasNul(name)) return false;
  DWORD rawType = 0, size = 0;
  LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &rawType, nullptr, &size);
  std::vector<std::uint8_t> bytes;
  // The value may grow between the size query and the read; a few retries, then give up.
  for (int attempt = 0; attempt < 4 && result == ERROR_SUCCESS; ++attempt) {
    if (size > kMaxValueBytes) return false;
    bytes.resize(size);
    DWORD got = size;
    result = RegQueryValueExA(handle, name.c_str(), nullptr, &rawType, size ? bytes.data() : nullptr, &got);
    if (result == ERROR_MORE_DATA) {
      size = got;
      result = ERROR_SUCCESS;
      continue;
    }
    if (result != ERROR_SUCCESS) break;
    bytes.resize(got < size ? got : size);
    if (type) *type = TypeOf(rawType);
    if (data) data->swap(bytes);
    return true;
  }
  return false;
}

bool Win32Registry::SetRaw(Key key, const std::string& name, DWORD type, const void* data, std::size_t size) {
  HKEY handle = reinterpret_cast<HKEY>(key);
  if (!handle || HasNul(name) || (size > 0 && !data) || size > ULONG_MAX) return false;
  return RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool Win32Registry::Set(Key key, const std::string& name, RegType type, const void* data, std::size_t size) {
  DWORD raw = REG_NONE;
  switch (type) {
    case RegType::String: raw = REG_SZ; break;
    case RegType::ExpandString: raw = REG_EXPAND_SZ; break;
    case RegType::Dword: raw = REG_DWORD; break;
    case RegType::DwordBigEndian: raw = REG_DWORD_BIG_ENDIAN; break;
    case RegType::Binary: raw = REG_BINARY; break;
    case RegType::Other: raw = REG_NONE; break;
  }
  return SetRaw(key, name, raw, data, size);
}

}  // namespace vt
