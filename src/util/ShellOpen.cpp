#include "util/ShellOpen.h"

#include <shellapi.h>

#include <cstddef>

namespace vt {

namespace {

// ShellExecuteA's texts went through buffers of this many characters.
constexpr std::size_t kShellTextMax = 256;

bool ShellTextUsable(const std::string& text) {
  return text.size() <= kShellTextMax && text.find('\0') == std::string::npos;
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

int OpenWithShell(const std::string& file, const std::string& parameters, const std::string& folder, int show) {
  if (!ShellTextUsable(file) || !ShellTextUsable(parameters) || !ShellTextUsable(folder)) return 0;
  HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(), OrNull(parameters), OrNull(folder), show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

void OpenInShellWindow(LPCITEMIDLIST idList) {
  if (!idList) return;
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_IDLIST;
  info.nShow = SW_SHOW;
  info.lpIDList = const_cast<LPITEMIDLIST>(idList);
  ShellExecuteExA(&info);
}

}  // namespace vt
