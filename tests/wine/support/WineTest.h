// Helpers the Wine tests share: the deliverables' folder, private program folders, child
// processes, waiting with a bound, windows of another process, the registry, the shared block.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "protocol/SharedBlock.h"

namespace vtt {

// Windows path of build/dist (the deliverables) and of the build's helper programs.
std::string DistDir();
std::string ToolsDir();
std::string TempDir();

bool CopyOneFile(const std::string& from, const std::string& to);

// A fresh folder holding copies of the named deliverables; removed with its content.
class ProgramFolder {
 public:
  // `tag` goes into the folder's name (after a blank), for a path with a blank in it.
  explicit ProgramFolder(const std::vector<std::string>& files = {"Kestrum.exe", "VT_brow.dll", "TestVT.exe"},
                         const std::string& tag = {});
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  const std::string& Path() const { return path_; }  // ends with a backslash
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

class Process {
 public:
  Process() = default;
  Process(const std::string& exe, const std::string& args = {}, const std::string& dir = {});
  // Started with exactly this command line (not the quoted file name plus arguments).
  static Process FromCommandLine(const std::string& exe, const std::string& commandLine, const std::string& dir = {});
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Running() const;
  bool WaitExit(DWORD ms) const;  // true once the process has ended
  DWORD ExitCode() const;
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// Polls cond every 10 ms, pumping this thread's messages, until it holds or ms pass.
bool WaitFor(const std::function<bool()>& cond, DWORD ms);
void Pump(DWORD ms);

// Top-level windows of one process (0 = any) with this class and caption (empty = any).
std::vector<HWND> TopWindows(DWORD pid, const char* cls, const char* caption = nullptr);
HWND TopWindow(DWORD pid, const char* cls, const char* caption = nullptr);
// Kestrum's main window once its start-up is over, or null after ms: the window exists before
// the shared block and the hooks, and gets its caption once both are in place.
HWND StartedController(DWORD pid, DWORD ms);
std::string WindowText(HWND w);
std::string ClassOf(HWND w);
// The text of a message box: its Static child that is not an icon.
std::string MessageBoxText(HWND box);

// Every running process whose file name matches (case-insensitive) is ended.
int KillProcessesNamed(const char* exeName);
int CountProcessesNamed(const char* exeName);

// Registry below HKEY_CURRENT_USER.
void DeleteTree(const std::string& key);
bool ReadDword(const std::string& key, const std::string& value, DWORD* out);
bool ReadString(const std::string& key, const std::string& value, std::string* out);
void WriteDword(const std::string& key, const std::string& value, DWORD data);
void WriteString(const std::string& key, const std::string& value, const std::string& data);
void WriteBinary(const std::string& key, const std::string& value, const void* data, DWORD size);
bool ValueExists(const std::string& key, const std::string& value);

inline constexpr char kAppKey[] = "Software\\Brisvane\\Vantrel";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A view of the existing shared block, or none.
class SharedView {
 public:
  SharedView();
  ~SharedView();
  SharedView(const SharedView&) = delete;
  SharedView& operator=(const SharedView&) = delete;
  vt::SharedBlock* get() const { return block_; }
  vt::SharedBlock* operator->() const { return block_; }
  explicit operator bool() const { return block_ != nullptr; }

 private:
  HANDLE mapping_ = nullptr;
  vt::SharedBlock* block_ = nullptr;
};

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

}  // namespace vtt
