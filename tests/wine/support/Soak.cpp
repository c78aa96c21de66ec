#include "support/Soak.h"

#include "protocol/Handle32.h"
#include "protocol/Slots.h"

namespace vtt {

namespace {

constexpr UINT kKilledCode = 9;     // the exit code of a program killed here
constexpr UINT kCancelledCode = 1;  // panel_client's, when its dialog was cancelled
constexpr UINT kGaveUpCode = 3;     // and when one of its dialogs had been open two minutes
constexpr int kDialogsPerClient = 10;
constexpr int kKilledAt = 3;        // the dialog of every tenth client open when it is killed
constexpr DWORD kDwellMs = 300;     // framed, before anything is done to it
constexpr DWORD kStepMs = 600;      // between the steps of a move, maximise and restore
// The waits that make a fault; together they stay below the two minutes after which a client
// gives its dialog up by itself.
constexpr DWORD kPanelMs = 20000;   // a shown dialog without its panel this long
constexpr DWORD kLongMs = 45000;    // no dialog shown, a dialog or program not ended, a slot not freed
constexpr DWORD kStallMs = 180000;  // no cycle ending for this long stops the run

struct Top {
  HWND window;
  DWORD pid;
  HWND owner;
  bool dialog;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM lp) {
  if (!IsWindowVisible(w)) return TRUE;
  const std::string cls = ClassOf(w);
  const bool dialog = cls == "#32770";
  if (!dialog && cls != "TVTReplacer") return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  reinterpret_cast<std::vector<Top>*>(lp)->push_back(Top{w, pid, GetWindow(w, GW_OWNER), dialog});
  return TRUE;
}

// One walk over the desktop per round, instead of one for each client.
std::vector<Top> Desktop() {
  std::vector<Top> all;
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&all));
  return all;
}

// The program's own windows, for the note of a dialog that does not end: what holds it.
BOOL CALLBACK DescribeWindow(HWND w, LPARAM lp) {
  auto* note = reinterpret_cast<std::pair<DWORD, std::string>*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != note->first) return TRUE;
  char title[80] = {};
  GetWindowTextA(w, title, sizeof title);
  note->second += " [" + ClassOf(w) + " \"" + title + "\"" + (IsWindowVisible(w) ? "" : " hidden") +
                  (IsWindowEnabled(w) ? "" : " disabled") + "]";
  return TRUE;
}

std::string ProgramWindows(DWORD pid) {
  std::pair<DWORD, std::string> note{pid, ""};
  EnumWindows(DescribeWindow, reinterpret_cast<LPARAM>(&note));
  return note.second.empty() ? "" : ": its windows" + note.second;
}

std::string Hex(DWORD v) {
  char b[16];
  wsprintfA(b, "0x%lX", v);
  return b;
}

}  // namespace

struct SoakRun::Place {
  enum class State { Idle, Starting, Framed, Handling, Closing, Ending };
  std::string exe;
  Process process;
  int client = 0, dialogs = 0, serial = 0;  // serial: of the dialog, over the whole run
  State state = State::Idle;
  DWORD asked = 0, since = 0;  // since: when the state (or the handling step) began
  int step = 0;
  DWORD exitedAt = 0;  // when the closed dialog was gone
  bool killed = false, fromPanel = false;
  HWND dialog = nullptr, panel = nullptr, previous = nullptr;
};

SoakRun::SoakRun(const ProgramFolder& folder, const Process& controller, int clients, const std::string& prefix)
    : folder_(folder), controller_(controller) {
  for (int i = 0; i < clients; ++i) {
    auto p = std::make_unique<Place>();
    p->exe = folder.File(prefix + std::to_string(i) + ".exe");
    CopyOneFile(ToolsDir() + "panel_client.exe", p->exe);
    places_.push_back(std::move(p));
  }
}

SoakRun::~SoakRun() {
  for (auto& p : places_) p->process.Kill();
}

void SoakRun::Fault(int& counter, const std::string& what) {
  ++counter;
  counts_.notes.push_back(what);
}

std::string SoakRun::Notes() const {
  std::string all;
  for (const std::string& n : counts_.notes) all += n + "\n";
  return all;
}

int SoakRun::SlotsInUse() const {
  int n = 0;
  if (view_)
    for (const auto& slot : view_->Slots) n += slot.PanelWindow != 0;
  return n;
}

int SoakRun::Busy() const {
  int n = 0;
  for (const auto& p : places_)
    n += p->state == Place::State::Handling || p->state == Place::State::Closing ||
         (p->state == Place::State::Ending && p->killed && p->dialog);
  return n;
}

void SoakRun::Start(Place& p) {
  p.client = ++counts_.started;
  p.process = Process(p.exe, "--repeat " + std::to_string(kDialogsPerClient), folder_.Path());
  p.dialogs = 0;
  p.killed = false;
  p.previous = nullptr;
  Await(p);
  if (!p.process.Started()) Fault(counts_.crashes, p.exe + " did not start");
}

// The program shows its next dialog by itself once the one before has closed.
void SoakRun::Await(Place& p) {
  p.state = Place::State::Starting;
  p.asked = p.since = GetTickCount();
  p.fromPanel = false;
  p.previous = p.dialog;
  p.dialog = p.panel = nullptr;
}

void SoakRun::Close(Place& p, bool closing) {
  // Every fourth from the panel, as its user would, one at a time (a user has one mouse);
  // the others by the program.
  bool panelBusy = false;
  for (const auto& other : places_) panelBusy = panelBusy || (other->state == Place::State::Closing && other->fromPanel);
  p.fromPanel = !closing && p.panel && p.serial % 4 == 1 && !panelBusy;
  if (p.fromPanel) {
    ++counts_.fromPanel;
    PostMessageA(p.panel, WM_CLOSE, 0, 0);
  } else {
    PostMessageA(p.dialog, WM_COMMAND, IDCANCEL, 0);
  }
  p.state = Place::State::Closing;
  p.since = GetTickCount();
}

void SoakRun::Kill(Place& p) {
  TerminateProcess(p.process.Handle(), kKilledCode);
  p.killed = true;
  p.state = Place::State::Ending;
  p.since = GetTickCount();
}

// The slot's state and its panel window's, for the note of a slot that stays taken.
std::string SoakRun::SlotNote(const Place& p) const {
  const int n = view_ ? vt::FindDialogSlot(*view_.get(), vt::Handle32(p.dialog)) : -1;
  if (n < 0) return "";
  const vt::DialogSlot& slot = view_.get()->Slots[n];
  HWND panel = vt::FromHandle32<HWND>(slot.PanelWindow);
  return " (slot state " + std::to_string(slot.State) + ", panel " +
         (!IsWindow(panel) ? "gone" : IsWindowVisible(panel) ? "shown" : "hidden") + ")";
}

// The panel that was told to close, for the note of a dialog closed from it that stays open.
std::string SoakRun::PanelNote(const Place& p) const {
  const int n = view_ ? vt::FindDialogSlot(*view_.get(), vt::Handle32(p.dialog)) : -1;
  const bool inSlot = n >= 0 && vt::FromHandle32<HWND>(view_.get()->Slots[n].PanelWindow) == p.panel;
  int owned = 0;
  for (HWND w : TopWindows(controller_.Id(), "TVTReplacer")) owned += GetWindow(w, GW_OWNER) == p.dialog;
  return std::string(", the panel told to close ") + (!IsWindow(p.panel) ? "is gone" : "is there") +
         (inSlot ? " and in the slot" : " and not in the slot") + (IsWindowEnabled(p.panel) ? "" : ", disabled") + ", " +
         std::to_string(owned) + " panels owned by the dialog";
}

bool SoakRun::SlotTaken(const Place& p) const {
  return view_ && vt::FindDialogSlot(*view_.get(), vt::Handle32(p.dialog)) >= 0;
}

void SoakRun::Step(Place& p, bool closing) {
  using State = Place::State;
  const DWORD now = GetTickCount();
  const DWORD age = now - p.since;
  const std::string who = "dialog " + std::to_string(p.serial) + " (client " + std::to_string(p.client) + ")";
  if (p.state == State::Idle) {
    if (!closing) Start(p);
    return;
  }
  const bool lastDialog = p.state == State::Closing && p.dialogs >= kDialogsPerClient;
  if (p.state != State::Ending && !lastDialog && !p.process.Running()) {
    // The client's own bound: a dialog of it stayed open for two minutes.
    const bool gaveUp = p.process.ExitCode() == kGaveUpCode;
    Fault(gaveUp ? counts_.hung : counts_.crashes, "client " + std::to_string(p.client) +
                                                      (gaveUp ? " gave its dialog up" : " ended on its own, code " +
                                                                                           Hex(p.process.ExitCode())));
    p.state = State::Idle;
    return;
  }
  switch (p.state) {
    case State::Starting:
      if (p.dialog && p.panel) {
        counts_.framedMs.push_back(now - p.asked);
        p.serial = ++dialogSerial_;
        ++p.dialogs;
        p.state = State::Framed;
        p.since = now;
      } else if (age > kPanelMs && p.dialog) {
        p.serial = ++dialogSerial_;
        ++p.dialogs;
        Fault(counts_.unframed, who + " got no panel");
        Close(p, true);
      } else if (age > kLongMs) {
        Fault(counts_.noDialog, "client " + std::to_string(p.client) + " showed no dialog");
        Kill(p);
      }
      break;
    case State::Framed:
      if (age < kDwellMs || (!closing && counts_.cycles + Busy() >= target_)) break;
      if (closing) {
        Close(p, true);
      } else if (p.client % 10 == 0 && p.dialogs == kKilledAt) {
        ++counts_.killed;
        Kill(p);
      } else if (p.serial % 5 == 2) {
        p.state = State::Handling;
        p.step = 0;
        p.since = now - kStepMs;
      } else {
        Close(p, false);
      }
      break;
    case State::Handling:
      if (closing) {
        Close(p, true);
      } else if (age >= kStepMs) {
        p.since = now;
        RECT d{};
        GetWindowRect(p.dialog, &d);
        switch (p.step++) {
          case 0:  // its program moves and resizes it; the panel follows
            SetWindowPos(p.dialog, nullptr, d.left + 24, d.top + 16, d.right - d.left + 40, d.bottom - d.top + 30,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
            break;
          case 1:
            PostMessageA(p.panel, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            break;
          case 2:
            PostMessageA(p.panel, WM_SYSCOMMAND, SC_RESTORE, 0);
            break;
          default:
            ++counts_.handled;
            Close(p, false);
            break;
        }
      }
      break;
    case State::Closing:
      if (IsWindow(p.dialog)) {
        if (age > kLongMs) {
          Fault(counts_.hung, who + (p.fromPanel ? ", closed from its panel," : "") + " was still open " +
                                  std::to_string(kLongMs / 1000) + " s after its close" + SlotNote(p) +
                                  (p.fromPanel ? PanelNote(p) : "") +
                                  ProgramWindows(p.process.Id()));
          Kill(p);
        }
        break;
      }
      if (!p.exitedAt) {
        p.exitedAt = now;
        counts_.endMs.push_back(now - p.since);
      }
      if (SlotTaken(p)) {
        if (now - p.exitedAt < kLongMs) break;
        Fault(counts_.slowSlots, who + "'s slot was still taken long after its end");
      }
      p.exitedAt = 0;
      ++counts_.cycles;
      if (closing && p.dialogs < kDialogsPerClient) {  // no next dialog: the run is over
        TerminateProcess(p.process.Handle(), kKilledCode);
        p.killed = true;
        p.dialog = nullptr;
      }
      if (p.dialogs < kDialogsPerClient && !closing) {
        Await(p);
      } else {
        p.state = State::Ending;
        p.since = now;
      }
      break;
    case State::Ending:
      if (p.process.Running()) {
        if (age > kLongMs) {
          Fault(counts_.hung, "client " + std::to_string(p.client) + " had not ended " +
                                  std::to_string(kLongMs / 1000) + " s after its last dialog");
          TerminateProcess(p.process.Handle(), kKilledCode);
          p.killed = true;
        }
        break;
      }
      if (p.process.ExitCode() != (p.killed ? kKilledCode : kCancelledCode))
        Fault(counts_.crashes, "client " + std::to_string(p.client) + " ended with code " + Hex(p.process.ExitCode()));
      if (p.killed && p.dialog) {  // its dialog was open: its slot must come free without it
        if (SlotTaken(p) && now - p.since < kLongMs) break;
        if (SlotTaken(p)) Fault(counts_.slowSlots, who + "'s slot was still taken long after its program's kill" + SlotNote(p));
        counts_.endMs.push_back(now - p.since);
        ++counts_.cycles;
      }
      p.dialog = nullptr;
      p.state = State::Idle;
      break;
    case State::Idle:
      break;
  }
}

void SoakRun::Poll(bool closing) {
  const std::vector<Top> desktop = Desktop();
  for (auto& p : places_) {
    if (p->state != Place::State::Starting) continue;
    // The dialog is looked up afresh: the first window the program shows may be replaced.
    for (const Top& t : desktop)
      if (t.dialog && t.pid == p->process.Id() && t.window != p->previous) p->dialog = t.window;
    p->panel = nullptr;
    for (const Top& t : desktop)
      if (!t.dialog && p->dialog && t.owner == p->dialog) p->panel = t.window;
  }
  for (auto& p : places_) Step(*p, closing);
  const DWORD now = GetTickCount();
  if (now - lastDebuggerCheck_ >= 1000) {
    lastDebuggerCheck_ = now;
    // How soon the resident program's one thread gets to a message sent to it.
    if (!controllerWindow_) controllerWindow_ = TopWindow(controller_.Id(), "TVantrel");
    DWORD_PTR ignored = 0;
    if (controllerWindow_ &&
        SendMessageTimeoutA(controllerWindow_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored))
      counts_.answerMs.push_back(GetTickCount() - now);
    // Wine starts its debugger on an unhandled exception in any program.
    const bool seen = CountProcessesNamed("winedbg.exe") > 0;
    if (seen && !debuggerSeen_) Fault(counts_.crashes, "winedbg.exe is running: a program crashed");
    debuggerSeen_ = seen;
  }
}

bool SoakRun::RunTo(int total) {
  target_ = total;
  DWORD lastEnd = GetTickCount();
  int lastCycles = counts_.cycles;
  for (;;) {
    if (!controller_.Running()) {
      Fault(counts_.crashes, "Kestrum.exe ended, code " + Hex(controller_.ExitCode()));
      return false;
    }
    Poll(false);
    bool settled = counts_.cycles >= target_;
    for (const auto& p : places_) settled = settled && p->state == Place::State::Framed;
    if (settled) return true;
    if (counts_.cycles != lastCycles) {
      lastCycles = counts_.cycles;
      lastEnd = GetTickCount();
    } else if (GetTickCount() - lastEnd > kStallMs) {
      counts_.notes.push_back("no dialog cycle ended in " + std::to_string(kStallMs / 1000) + " s");
      return false;
    }
    Sleep(50);
  }
}

void SoakRun::CloseAll() {
  const DWORD start = GetTickCount();
  for (;;) {
    Poll(true);
    bool idle = true;
    for (const auto& p : places_) idle = idle && p->state == Place::State::Idle;
    if (idle || !controller_.Running() || GetTickCount() - start > kStallMs) return;
    Sleep(50);
  }
}

}  // namespace vtt
