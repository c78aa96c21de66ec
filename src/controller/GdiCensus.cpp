#include "controller/GdiCensus.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vt {

namespace {

// Wine's entry of the GDI handle table (one per possible handle, 0x10000 of them).
struct WineGdiEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint8_t extType;  // bit 7: a stock object
  std::uint8_t generation;
  std::uint8_t type;     // 0: a free entry
  std::uint8_t flags;
  std::uint64_t userPointer;
};
// Wine's GDI_HANDLE_ENTRY has 64-bit fields in both bitnesses: one layout for x86 and x64.
static_assert(sizeof(WineGdiEntry) == 24);
static_assert(offsetof(WineGdiEntry, extType) == 12 && offsetof(WineGdiEntry, type) == 14 &&
              offsetof(WineGdiEntry, userPointer) == 16);
constexpr int kWineGdiEntries = 0x10000;
// TEB.ProcessEnvironmentBlock and PEB.GdiSharedHandleTable, in this build's own bitness.
constexpr std::size_t kTebPebOffset = sizeof(void*) == 8 ? 0x60 : 0x30;
constexpr std::size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

int WineGdiCensus() {
  const auto* teb = reinterpret_cast<const std::uint8_t*>(NtCurrentTeb());
  const std::uint8_t* peb = nullptr;
  std::memcpy(&peb, teb + kTebPebOffset, sizeof peb);
  if (!peb) return -1;
  const WineGdiEntry* table = nullptr;
  std::memcpy(&table, peb + kPebGdiTableOffset, sizeof table);
  if (!table) return -1;
  int count = 0;
  for (int i = 0; i < kWineGdiEntries; ++i)
    if (table[i].type != 0 && !(table[i].extType & 0x80)) ++count;
  return count;
}

}  // namespace

int GdiObjectCount() {
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n != 0) return static_cast<int>(n);
  return UnderWine() ? WineGdiCensus() : -1;
}

long long HeapKbInUse() {
  HANDLE heaps[64];
  const DWORD n = GetProcessHeaps(64, heaps);
  if (n == 0 || n > 64) return -1;
  unsigned long long bytes = 0;
  for (DWORD i = 0; i < n; ++i) {
    if (!HeapLock(heaps[i])) return -1;
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heaps[i], &e))
      if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += e.cbData;
    HeapUnlock(heaps[i]);
  }
  return static_cast<long long>(bytes / 1024);
}

UINT GdiCensusMessage() {
  char value[8] = {};
  if (!GetEnvironmentVariableA(kGdiCensusSwitch, value, sizeof value) || value[0] != '1') return 0;
  return RegisterWindowMessageA(kGdiCensusMessage);
}

}  // namespace vt
