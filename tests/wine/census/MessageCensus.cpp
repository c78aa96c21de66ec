// A benchmark's eye inside the resident program: hooked into its one UI thread, this library
// counts every message that thread retrieves or is sent, by the receiving window's class and
// the message number, into a named block the benchmark reads. Nothing of it ships.
#include <windows.h>

#include <cstring>

#include "census/MessageCensus.h"
#include "protocol/Handle32.h"

namespace {

HANDLE g_mapping = nullptr;
vtc::CensusBlock* g_block = nullptr;

vtc::CensusBlock* Block() {
  if (!g_block) {
    g_mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, vtc::kCensusName);
    if (g_mapping) g_block = static_cast<vtc::CensusBlock*>(MapViewOfFile(g_mapping, FILE_MAP_WRITE, 0, 0, 0));
  }
  return g_block;
}

void Count(HWND w, UINT message, std::uint32_t kind) {
  vtc::CensusBlock* b = Block();
  if (!b || !b->counting) return;
  char cls[sizeof b->entries[0].windowClass] = "";
  if (w) GetClassNameA(w, cls, sizeof cls);
  for (std::uint32_t i = 0; i < b->used; ++i) {
    vtc::CensusEntry& e = b->entries[i];
    if (e.message == message && e.kind == kind && e.window == vt::Handle32(w)) {
      ++e.count;
      return;
    }
  }
  if (b->used >= vtc::kCensusEntries) {
    ++b->dropped;
    return;
  }
  vtc::CensusEntry& e = b->entries[b->used++];
  e.message = message;
  e.kind = kind;
  e.window = vt::Handle32(w);
  e.count = 1;
  std::memcpy(e.windowClass, cls, sizeof cls);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CensusGetMessage(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE) {
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    Count(m->hwnd, m->message, vtc::kRetrieved);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK CensusCallWndProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    Count(m->hwnd, m->message, wp ? vtc::kSentByOtherThread : vtc::kSentInThread);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
