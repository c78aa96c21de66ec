// The client process of the hook benchmark: on request it measures how many messages per
// second reach a window procedure of its own, sent within its thread and posted through its
// queue, and reports the figures to the window whose handle is its first argument. It ends
// with the process whose id is its second argument, if given.
#include <windows.h>

#include <cstdlib>

#include "../hook/ClientProtocol.h"
#include "protocol/Handle32.h"

namespace {

const UINT kWork = WM_APP + 5;
LONG g_handled = 0;  // the work of the window procedure: one store

LRESULT CALLBACK RateProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kWork) {
    ++g_handled;
    return 1;
  }
  return DefWindowProcA(w, m, wp, lp);
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

// Batches until the time is used up; a short warm-up first, so that loading a hook library
// into this process on its first event is not counted.
double SentRate(HWND w, DWORD ms, std::uint32_t* count) {
  for (int i = 0; i < 20; ++i) SendMessageA(w, kWork, 0, 0);
  LARGE_INTEGER t0, t1;
  QueryPerformanceCounter(&t0);
  std::uint32_t n = 0;
  double s = 0;
  do {
    for (int i = 0; i < 100; ++i) SendMessageA(w, kWork, 0, 0);
    n += 100;
    QueryPerformanceCounter(&t1);
    s = Seconds(t0, t1);
  } while (s * 1000.0 < ms);
  *count = n;
  return n / s;
}

void PostOne(HWND w) {
  PostMessageA(w, kWork, 0, 0);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    DispatchMessageA(&m);
    if (m.message == kWork && m.hwnd == w) break;
  }
}

double PostedRate(HWND w, DWORD ms, std::uint32_t* count) {
  for (int i = 0; i < 20; ++i) PostOne(w);
  LARGE_INTEGER t0, t1;
  QueryPerformanceCounter(&t0);
  std::uint32_t n = 0;
  double s = 0;
  do {
    for (int i = 0; i < 20; ++i) PostOne(w);
    n += 20;
    QueryPerformanceCounter(&t1);
    s = Seconds(t0, t1);
  } while (s * 1000.0 < ms);
  *count = n;
  return n / s;
}

DWORD WINAPI WatchParent(LPVOID process) {
  WaitForSingleObject(static_cast<HANDLE>(process), INFINITE);
  ExitProcess(5);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  DWORD parent = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 0;
  if (HANDLE p = parent ? OpenProcess(SYNCHRONIZE, FALSE, parent) : nullptr)
    CloseHandle(CreateThread(nullptr, 0, WatchParent, p, 0, nullptr));
  HWND reply = vt::FromHandle32<HWND>(static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 0)));
  WNDCLASSA wc{};
  wc.lpfnWndProc = RateProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = vth::kRateClass;
  if (!RegisterClassA(&wc)) return 3;
  HWND w = CreateWindowExA(0, vth::kRateClass, "Hook rate client", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           wc.hInstance, nullptr);
  if (!w) return 4;
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    if (m.message == vth::kRateQuit) break;
    if (m.message == vth::kRateMeasure) {
      DWORD ms = m.wParam ? static_cast<DWORD>(m.wParam) : 500;
      vth::RateReport r{};
      r.sentPerSecond = SentRate(w, ms, &r.sent);
      r.postedPerSecond = PostedRate(w, ms, &r.posted);
      COPYDATASTRUCT cds{vth::kRateReport, sizeof r, &r};
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(reply, WM_COPYDATA, reinterpret_cast<WPARAM>(w), reinterpret_cast<LPARAM>(&cds),
                          SMTO_NORMAL, 10000, &ignored);
      continue;
    }
    DispatchMessageA(&m);
  }
  return 0;
}
