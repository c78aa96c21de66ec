// Dialog cycles against the real resident program, for the soak benchmark and its short form
// in the suite. Several client programs run at once (ten in the benchmark), each showing ten
// Open dialogs one after another: each is framed, now and then moved and resized and its panel
// maximised and restored, then closed; every tenth program is killed while its third dialog is
// open. A new program takes the place of one that has ended. The clients are polled side by
// side, never waited on one by one.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/WineTest.h"

namespace vtt {

struct SoakCounts {
  int started = 0;    // client programs
  int cycles = 0;     // dialogs closed (or whose program was killed) and their slots free
  int killed = 0;     // programs killed with a dialog open
  int handled = 0;    // moved, resized, maximised and restored before their close
  int fromPanel = 0;  // closed by the panel's close; the others by the dialog's Cancel
  int unframed = 0;   // shown, but no panel within the wait
  int noDialog = 0;   // no dialog shown within the wait (the program is killed)
  int hung = 0;       // not ended within the wait after its close (the program is killed)
  int slowSlots = 0;  // a slot still taken that long after its program ended
  int crashes = 0;    // a program or the controller ended unexpectedly, or the debugger ran
  std::vector<std::string> notes;     // one line for each of the faults above
  std::vector<DWORD> framedMs, endMs; // asked for to framed, close (or kill) to gone
  std::vector<DWORD> answerMs;        // the controller's answer to WM_NULL, once a second
};

class SoakRun {
 public:
  // Copies the client program into `folder` as <prefix>0.exe .. (one set of settings each).
  // The controller is watched: its end counts as a crash and stops the run.
  SoakRun(const ProgramFolder& folder, const Process& controller, int clients, const std::string& prefix = "Soak");
  ~SoakRun();
  SoakRun(const SoakRun&) = delete;
  SoakRun& operator=(const SoakRun&) = delete;

  // Cycles until `total` have ended in all (counted from the start of the run), then until
  // every place holds a framed dialog again. False when the run had to stop.
  bool RunTo(int total);
  // Every client's dialog closed by its Cancel, and all programs' ends awaited.
  void CloseAll();
  // Slots whose panel window is set, in the shared block.
  int SlotsInUse() const;
  const SoakCounts& Counts() const { return counts_; }
  std::string Notes() const;

 private:
  struct Place;
  void Poll(bool closing);
  void Step(Place& p, bool closing);
  void Start(Place& p);
  void Close(Place& p, bool closing);
  void Kill(Place& p);
  void Await(Place& p);
  bool SlotTaken(const Place& p) const;
  std::string SlotNote(const Place& p) const;
  std::string PanelNote(const Place& p) const;
  void Fault(int& counter, const std::string& what);
  int Busy() const;  // places whose close has been decided and whose program has not ended

  const ProgramFolder& folder_;
  const Process& controller_;
  std::vector<std::unique_ptr<Place>> places_;
  SharedView view_;
  SoakCounts counts_;
  int target_ = 0;
  int dialogSerial_ = 0;
  bool debuggerSeen_ = false;
  DWORD lastDebuggerCheck_ = 0;
  HWND controllerWindow_ = nullptr;
};

}  // namespace vtt
