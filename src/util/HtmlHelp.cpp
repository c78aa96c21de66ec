#include "util/HtmlHelp.h"

#include <windows.h>

#include "util/ShellOpen.h"

namespace vt {

namespace {
using HtmlHelpFn = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
HtmlHelpFn g_htmlHelp = nullptr;
}  // namespace

void LoadHtmlHelp() {
  if (g_htmlHelp) return;
  // Loaded for the life of the program: the viewer's windows run on our thread.
  if (HMODULE engine = LoadLibraryA("HHCtrl.OCX"))
    g_htmlHelp = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(engine, MAKEINTRESOURCEA(14))));
}

void ShowHelpTopic(const std::string& helpFile, const char* topic) {
  if (g_htmlHelp) {
    g_htmlHelp(GetDesktopWindow(), (helpFile + topic).c_str(), kDisplayTopic, 0);
    return;
  }
  const std::size_t slash = helpFile.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? std::string() : helpFile.substr(0, slash + 1);
  OpenWithShell(helpFile, "", folder, SW_SHOWNORMAL);
}

}  // namespace vt
