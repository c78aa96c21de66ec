// The tests' side of hook_dialog_client.exe: starts it, finds its Open dialog and the
// dialog's parts, reads its probe block and sends it commands. The process is killed when
// the object goes, so no dialog outlives its test.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hook/ClientProtocol.h"
#include "support/WineTest.h"

namespace vth {

// A child process started from a command line given as is (the hook library reads the
// program path from it), ended when the object goes.
class ChildProcess : public vtt::Process {
 public:
  ChildProcess(const std::string& exe, const std::string& commandLine, const std::string& dir)
      : vtt::Process(vtt::Process::FromCommandLine(exe, commandLine, dir)) {}
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
};

struct ClientOptions {
  std::string folder;                 // initial folder of the dialog
  std::string title = "Hook Test Open";
  int shows = 1;
  bool probe = false;                 // count what reaches the dialog's own procedure
  bool multiSelect = false;           // the file list takes several selected items
  std::string fakes;                  // windows that only look like file dialogs, no Open dialog
  std::string exe;                    // default: the helper in the tools folder
  std::string dir;                    // working folder
  // The command line is the program path unquoted, then the arguments, then this text.
  bool unquoted = false;
  std::string extra;
};

class DialogClient {
 public:
  explicit DialogClient(const ClientOptions& options);
  ~DialogClient();
  DialogClient(const DialogClient&) = delete;
  DialogClient& operator=(const DialogClient&) = delete;

  bool Started() const { return process_.Started(); }
  bool Running() const { return process_.Running(); }
  ChildProcess& Process() { return process_; }
  const std::string& CommandLine() const { return commandLine_; }
  const std::string& Exe() const { return exe_; }

  // Waits for a visible dialog of the client other than `notThis`. With `settle`, also for
  // its file list and a moment more: Wine's dialog finishes its set-up after it shows, and a
  // minimise or hide made before that is undone by the dialog itself.
  HWND WaitDialog(DWORD ms = 10000, HWND notThis = nullptr, bool settle = true);
  HWND Dialog() const { return dialog_; }
  HWND Owner() const;
  // Closes the current dialog as its Cancel button does.
  void Cancel() const;
  // The process runs and its dialog's thread answers within the bound.
  bool Answers(DWORD ms = 3000) const;

  // Null until the client has published it.
  ProbeBlock* Probe();
  LRESULT Command(std::uint32_t command, const void* data = nullptr, std::uint32_t size = 0, bool* ok = nullptr);
  std::vector<std::uint8_t> Data();

 private:
  std::string exe_;
  std::string commandLine_;
  ChildProcess process_;
  HWND dialog_ = nullptr;
  HANDLE probeMap_ = nullptr;
  ProbeBlock* probe_ = nullptr;
};

// Parts of a standard Open dialog, found from another process.
HWND FolderView(HWND dialog);     // SHELLDLL_DefView
HWND ListView(HWND dialog);       // its SysListView32
HWND FolderCombo(HWND dialog);    // the folder box, id 0x471
HWND FileNameEdit(HWND dialog);   // ComboBoxEx32 > ComboBox > Edit

// A fresh folder with known content, removed with everything in it.
class TestFolder : public vtt::ProgramFolder {
 public:
  TestFolder() : vtt::ProgramFolder(std::vector<std::string>{}) {}
  std::string NoSlash() const { return Path().substr(0, Path().size() - 1); }
  void AddFile(const std::string& name, const std::string& content = "x");
  void AddFolder(const std::string& name);
};

// Checks of identifier lists made independently of the code under test: the size of the
// well-formed list that fills `bytes` exactly (terminator included), else 0; and its items.
std::size_t ExactListSize(const std::vector<std::uint8_t>& bytes);
int ListItemCount(const std::vector<std::uint8_t>& bytes);

// The folder path an absolute identifier list names; empty when it names none.
std::string PathOfList(const std::vector<std::uint8_t>& list);
bool SamePath(const std::string& a, const std::string& b);

}  // namespace vth
