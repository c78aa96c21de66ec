#include "controller/AutoRun.h"

#include "settings/Product.h"
#include "settings/Catalogue.h"

namespace vt {

std::string AutoRunCommand(const std::string& programFolder) {
  // Quoted: unquoted, a folder with a blank in it ("C:\Users\John Smith\...") makes
  // Windows try the shorter paths first ("C:\Users\John.exe").
  return "\"" + programFolder + kProgramFileName + "\"";
}

void SetAutoRun(TQRegistry& reg, RunEntry& run, const std::string& programFolder, bool on) {
  WriteAutoRun(reg, on);
  if (on)
    run.Set(AutoRunCommand(programFolder));
  else
    run.Remove();
}

bool ApplyAutoRunAtStart(TQRegistry& reg, RunEntry& run, const std::string& programFolder) {
  std::optional<std::int32_t> stored = ReadAutoRun(reg);
  if (!stored) WriteAutoRun(reg, true);
  bool on = !stored || *stored == 1;
  SetAutoRun(reg, run, programFolder, on);
  return on;
}

}  // namespace vt
