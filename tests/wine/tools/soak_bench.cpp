// The soak benchmark under Wine (prints figures; not a test): dialog cycles over ten client
// programs at a time against the real resident program (support/Soak.h), with the resident
// program's private memory and GDI objects after an early, the middle and the last cycle, and two
// idle phases of three panels, at the start and at the end, whose CPU time the calling
// script reads from the system's process table (Wine does not give one process the times of
// another). Options: --cycles N (default 1000), --early N (default 100).
// Expects VT_DIST (the deliverables) and VT_TOOLS (panel_client.exe) in the environment.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/PanelHarness.h"
#include "support/Soak.h"

namespace {

using namespace vtt;

struct Figures {
  unsigned long long workingSetKb = 0;
  int gdi = -1;
  long long heapKb = -1;
};

// The private memory is read by the calling script from the system's process table when
// this line appears: Wine reports no private usage of another process.
Figures Measure(const Process& controller, HWND window, int cycle) {
  std::printf("figures after cycle %d, measuring\n", cycle);
  Sleep(3000);
  Figures f;
  PROCESS_MEMORY_COUNTERS m{};
  m.cb = sizeof m;
  if (GetProcessMemoryInfo(controller.Handle(), &m, sizeof m)) f.workingSetKb = m.WorkingSetSize / 1024;
  f.gdi = GdiCensus(window);
  f.heapKb = HeapCensusKb(window);
  std::printf("after cycle %-5d working set %6llu KB   GDI objects %d   its heaps in use %lld KB\n", cycle,
              f.workingSetKb, f.gdi, f.heapKb);
  return f;
}

// Three framed dialogs and nothing happening, while the script measures.
int Idle(const ProgramFolder& folder, const Process& controller, const char* phase) {
  SoakRun idle(folder, controller, 3, "Idle");
  idle.RunTo(0);
  Sleep(2000);  // their attach and start-up work is over
  std::printf("idle (%s): three panels open, measuring\n", phase);
  // The script measures 10 s from when it sees the line; it may be busy with a figure before.
  Sleep(21000);
  idle.CloseAll();
  if (idle.Counts().crashes) std::printf("%s", idle.Notes().c_str());
  return idle.Counts().crashes;
}

void PrintTimes(const char* what, std::vector<DWORD> v) {
  if (v.empty()) return;
  std::sort(v.begin(), v.end());
  std::printf("%-40s median %7.3f s   worst %7.3f s   (n=%zu)\n", what, v[v.size() / 2] / 1000.0, v.back() / 1000.0,
              v.size());
}

int Arg(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (!std::strcmp(argv[i], name)) return std::atoi(argv[i + 1]);
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures appear as they are measured
  const int cycles = Arg(argc, argv, "--cycles", 1000);
  const int early = Arg(argc, argv, "--early", 100);
  KillProcessesNamed("Kestrum.exe");
  DeleteTree(kAppKey);
  WriteDword(kAppKey, "NoFirstRun", 1);
  WriteDword(kAppKey, "AutoRun", 0);
  int crashes = 0, faults = 0, slots = -1;
  {
    ProgramFolder folder;
    SetEnvironmentVariableA("VT_GDI_CENSUS", "1");
    Process controller(folder.File("Kestrum.exe"), {}, folder.Path());
    SetEnvironmentVariableA("VT_GDI_CENSUS", nullptr);
    HWND window = StartedController(controller.Id(), kWait);
    if (!window) {
      std::printf("Kestrum.exe did not start from %s\n", folder.Path().c_str());
      return 1;
    }
    // The census reads Wine's whole GDI handle table, and its first read makes 1.5 MB of that
    // table Kestrum's own private memory: taken once here, the instrument's cost is in no figure.
    GdiCensus(window);
    std::printf("census read once, measuring nothing\n");
    crashes += Idle(folder, controller, "start");

    std::printf("cycling: %d dialogs, ten programs at a time\n", cycles);
    const DWORD start = GetTickCount();
    {
      SoakRun soak(folder, controller, 10);
      Figures a, b;
      // A figure half-way too: growth that has stopped by then is the heaps' warm-up, not a leak.
      const int middle = cycles / 2;
      if (soak.RunTo(early)) a = Measure(controller, window, early);
      if (middle > early && soak.RunTo(middle)) Measure(controller, window, middle);
      if (soak.RunTo(cycles)) b = Measure(controller, window, cycles);
      soak.CloseAll();
      const double minutes = (GetTickCount() - start) / 60000.0;
      const SoakCounts& c = soak.Counts();
      std::printf("cycles: %d in %.1f min (%.0f a minute): %d programs killed with their dialog open, %d dialogs "
                  "moved, resized, maximised and restored first, %d closed from their panel, the others cancelled\n",
                  c.cycles, minutes, c.cycles / minutes, c.killed, c.handled, c.fromPanel);
      PrintTimes("program started -> its dialog framed", c.framedMs);
      PrintTimes("close or kill -> the program ended", c.endMs);
      PrintTimes("Kestrum.exe answers WM_NULL", c.answerMs);
      std::printf("faults: %d dialogs without a panel, %d shown no dialog, %d programs hung after their close, "
                  "%d slots freed late\n", c.unframed, c.noDialog, c.hung, c.slowSlots);
      std::printf("growth from cycle %d to %d: GDI objects %+d, its heaps in use %+lld KB\n", early, cycles,
                  b.gdi - a.gdi, b.heapKb - a.heapKb);
      crashes += c.crashes;
      faults = c.unframed + c.noDialog + c.hung + c.slowSlots;
      if (!c.notes.empty()) std::printf("%s", soak.Notes().c_str());
    }
    if (controller.Running()) crashes += Idle(folder, controller, "end");
    SharedView view;
    WaitFor([&] {
      slots = 0;
      if (view)
        for (const auto& slot : view->Slots) slots += slot.PanelWindow != 0;
      return slots == 0;
    }, kWait);
    if (!controller.Running()) {
      std::printf("Kestrum.exe ended, code 0x%lX\n", controller.ExitCode());
      ++crashes;
    }
    controller.Kill();
  }
  DeleteTree(kAppKey);
  std::printf("crashes: %d\nslots in use at the end: %d\n", crashes, slots);
  return crashes == 0 && faults == 0 && slots == 0 ? 0 : 1;
}
