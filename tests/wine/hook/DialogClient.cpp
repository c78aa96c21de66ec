#include "hook/DialogClient.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "hook/Harness.h"

namespace vth {
namespace {

constexpr DWORD kSettleMs = 400;

// A trailing backslash before the closing quote would escape it for the child's argv.
std::string Quoted(const std::string& s) {
  std::string q = "\"" + s;
  if (!s.empty() && s.back() == '\\') q += '\\';
  return q + "\"";
}

std::string Arguments(const ClientOptions& o) {
  std::string a;
  if (!o.folder.empty()) a += "--folder " + Quoted(o.folder) + " ";
  a += "--title " + Quoted(o.title) + " ";
  a += "--shows " + std::to_string(o.shows);
  if (o.probe) a += " --probe";
  if (o.multiSelect) a += " --multi";
  if (!o.fakes.empty()) a += " --fakes " + Quoted(o.fakes);
  // The client ends with this process, so an aborted test leaves no dialog behind.
  a += " --parent " + std::to_string(GetCurrentProcessId());
  return a;
}

}  // namespace

static std::string CommandLineOf(const std::string& exe, const ClientOptions& o) {
  std::string line = o.unquoted ? exe : Quoted(exe);
  line += " " + Arguments(o);
  if (!o.extra.empty()) line += " " + o.extra;
  return line;
}

DialogClient::DialogClient(const ClientOptions& options)
    : exe_(options.exe.empty() ? vtt::ToolsDir() + kDialogClientExe : options.exe),
      commandLine_(CommandLineOf(exe_, options)),
      process_(exe_, commandLine_, options.dir) {}

DialogClient::~DialogClient() {
  process_.Kill();
  if (probe_) UnmapViewOfFile(probe_);
  if (probeMap_) CloseHandle(probeMap_);
}

HWND DialogClient::WaitDialog(DWORD ms, HWND notThis, bool settle) {
  HWND found = nullptr;
  vtt::WaitFor(
      [&] {
        for (HWND w : vtt::TopWindows(process_.Id(), "#32770"))
          if (w != notThis && IsWindowVisible(w) && FolderView(w)) {
            found = w;
            return true;
          }
        return !process_.Running();
      },
      ms);
  if (!found) return nullptr;
  dialog_ = found;
  if (settle) {
    vtt::WaitFor([&] { return ListView(found) != nullptr; }, 5000);
    vtt::Pump(kSettleMs);
  }
  return found;
}

HWND DialogClient::Owner() const { return vtt::TopWindow(process_.Id(), kClientClass); }

void DialogClient::Cancel() const {
  if (dialog_) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
}

bool DialogClient::Answers(DWORD ms) const {
  if (!process_.Running() || !IsWindow(dialog_)) return false;
  return SendBounded(dialog_, WM_NULL, 0, 0, nullptr, ms);
}

ProbeBlock* DialogClient::Probe() {
  if (probe_) return probe_;
  char name[64];
  std::snprintf(name, sizeof name, "%s%lu", kProbePrefix, process_.Id());
  probeMap_ = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name);
  if (!probeMap_) return nullptr;
  probe_ = static_cast<ProbeBlock*>(MapViewOfFile(probeMap_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(ProbeBlock)));
  if (probe_ && probe_->Magic != kProbeMagic) {
    UnmapViewOfFile(probe_);
    probe_ = nullptr;
  }
  return probe_;
}

LRESULT DialogClient::Command(std::uint32_t command, const void* data, std::uint32_t size, bool* ok) {
  LRESULT r = 0;
  bool sent = SendCopy(Owner(), nullptr, command, data, size, &r, 10000);
  if (ok) *ok = sent;
  return sent ? r : -100;
}

std::vector<std::uint8_t> DialogClient::Data() {
  ProbeBlock* p = Probe();
  if (!p) return {};
  std::uint32_t n = p->DataSize;
  if (n > sizeof p->Data) n = sizeof p->Data;
  return std::vector<std::uint8_t>(p->Data, p->Data + n);
}

HWND FolderView(HWND dialog) { return FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr); }

HWND ListView(HWND dialog) {
  HWND view = FolderView(dialog);
  return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

HWND FolderCombo(HWND dialog) { return GetDlgItem(dialog, 0x471); }

HWND FileNameEdit(HWND dialog) {
  HWND ex = FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr);
  HWND combo = ex ? FindWindowExA(ex, nullptr, "ComboBox", nullptr) : nullptr;
  return combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
}

void TestFolder::AddFile(const std::string& name, const std::string& content) {
  vtt::WriteFileText(Path() + name, content);
}

void TestFolder::AddFolder(const std::string& name) { CreateDirectoryA((Path() + name).c_str(), nullptr); }

std::size_t ExactListSize(const std::vector<std::uint8_t>& bytes) {
  std::size_t at = 0;
  while (at + 2 <= bytes.size()) {
    std::size_t cb = bytes[at] | (bytes[at + 1] << 8);
    if (cb == 0) return at + 2 == bytes.size() ? at + 2 : 0;
    if (cb < 2 || at + cb > bytes.size()) return 0;
    at += cb;
  }
  return 0;
}

int ListItemCount(const std::vector<std::uint8_t>& bytes) {
  if (!ExactListSize(bytes)) return -1;
  int n = 0;
  for (std::size_t at = 0; bytes[at] | (bytes[at + 1] << 8); at += bytes[at] | (bytes[at + 1] << 8)) ++n;
  return n;
}

std::string PathOfList(const std::vector<std::uint8_t>& list) {
  if (!ExactListSize(list)) return {};
  char path[MAX_PATH * 2] = {};
  if (!SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(list.data()), path)) return {};
  return path;
}

bool SamePath(const std::string& a, const std::string& b) {
  auto trim = [](std::string s) {
    while (s.size() > 3 && s.back() == '\\') s.pop_back();
    return s;
  };
  return lstrcmpiA(trim(a).c_str(), trim(b).c_str()) == 0;
}

}  // namespace vth
