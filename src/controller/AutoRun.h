// Starting with Windows: the stored switch "?AutoRun" and the Run entry "Vantrel" are kept
// in step. The Run key lies outside the program's own key, so it is reached through RunEntry.
#pragma once
#include <string>

#include "settings/QRegistry.h"

namespace vt {

// HKEY_CURRENT_USER\...\CurrentVersion\Run, value "Vantrel". Failures are ignored.
class RunEntry {
 public:
  virtual ~RunEntry() = default;
  virtual void Set(const std::string& command) = 0;
  virtual void Remove() = 0;
};

// The command the Run entry holds: the program folder and "Kestrum.exe", in quotes. Nothing
// reads the entry back: every start with autorun on writes it again, so an unquoted one left
// by an earlier version is replaced at the next start.
std::string AutoRunCommand(const std::string& programFolder);

// Writes "?AutoRun" as 1 or 0, then sets or removes the Run entry.
void SetAutoRun(TQRegistry& reg, RunEntry& run, const std::string& programFolder, bool on);

// The start-up rule: exactly 1 is on, any other stored value off; an absent (or unreadable)
// value is written as 1 and means on. Returns the state applied.
bool ApplyAutoRunAtStart(TQRegistry& reg, RunEntry& run, const std::string& programFolder);

}  // namespace vt
