// The yardstick of the hook benchmark: the same two global hooks as the hook library,
// installed the same way, whose procedures do nothing but pass every event on. What the
// hook library costs beyond this is what its own code costs.
#include <windows.h>

namespace {

HHOOK g_getMessage = nullptr;
HHOOK g_callWndRet = nullptr;
HMODULE g_module = nullptr;

LRESULT CALLBACK PassGetMessage(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(g_getMessage, code, wp, lp); }
LRESULT CALLBACK PassCallWndRet(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(g_callWndRet, code, wp, lp); }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}

extern "C" __declspec(dllexport) unsigned char SetHook() {
  g_getMessage = SetWindowsHookExA(WH_GETMESSAGE, PassGetMessage, g_module, 0);
  g_callWndRet = SetWindowsHookExA(WH_CALLWNDPROCRET, PassCallWndRet, g_module, 0);
  return g_getMessage && g_callWndRet;
}

extern "C" __declspec(dllexport) unsigned char RemoveHook() {
  bool ok = g_getMessage && UnhookWindowsHookEx(g_getMessage);
  if (ok) ok = g_callWndRet && UnhookWindowsHookEx(g_callWndRet);
  g_getMessage = g_callWndRet = nullptr;
  return ok;
}
