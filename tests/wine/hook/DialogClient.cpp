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

ChildProcess::ChildProcess(const std::string& exe, const std::string& commandLine, const std::string& dir) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.empty() ? nullptr : dir.c_str(),
                      &si, &info_))
    info_ = {};
}

ChildProcess::~ChildProcess() {
  Kill();
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

bool ChildProcess::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitExit(DWORD ms) const {
  return !info_.hProcess || vtt::WaitFor([&] { return !Running(); }, ms);
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void ChildProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

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

TestFolder::TestFolder() {
  static unsigned counter = 0;
  char name[64];
  std::snprintf(name, sizeof name, "vthook%lu_%u\\", GetCurrentProcessId(), ++counter);
  path_ = vtt::TempDir() + name;
  CreateDirectoryA(path_.c_str(), nullptr);
}

static void RemoveAll(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string n = fd.cFileName;
      if (n == "." || n == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveAll(dir + n + "\\");
      else DeleteFileA((dir + n).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

TestFolder::~TestFolder() {
  for (int i = 0; i < 20 && GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
    RemoveAll(path_);
    Sleep(20);
  }
}

void TestFolder::AddFile(const std::string& name, const std::string& content) {
  vtt::WriteFileText(path_ + name, content);
}

void TestFolder::AddFolder(const std::string& name) { CreateDirectoryA((path_ + name).c_str(), nullptr); }

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
