#include "hooklib/HostProgram.h"

#include <cstring>

#include "protocol/IgnoreList.h"

namespace vt::hook {

std::size_t BoundedProgramPath(std::string_view path, char* out) {
  std::size_t length = 0;
  if (path.size() > kProgramPathMax) {
    constexpr std::string_view kEllipsis = "... ";
    std::memcpy(out, kEllipsis.data(), kEllipsis.size());
    std::size_t tail = kProgramPathMax - kEllipsis.size();
    std::memcpy(out + kEllipsis.size(), path.data() + path.size() - tail, tail);
    length = kProgramPathMax;
  } else {
    if (!path.empty()) std::memcpy(out, path.data(), path.size());
    length = path.size();
  }
  out[length] = '\0';
  return length;
}

std::size_t ProgramPathFromCommandLine(std::string_view line, char* out) {
  // No substr here: its range check would bring the exception runtime into the hook library.
  if (line.size() > kCommandLineMax) line = std::string_view(line.data(), kCommandLineMax);
  std::string_view path = line;
  if (!line.empty() && line.front() == '"') {
    std::string_view rest(line.data() + 1, line.size() - 1);
    std::size_t close = rest.find('"');
    path = close == std::string_view::npos ? rest : std::string_view(rest.data(), close);
  } else {
    std::size_t blank = line.find_first_of(" \t");
    if (blank != std::string_view::npos) path = std::string_view(line.data(), blank);
  }
  return BoundedProgramPath(path, out);
}

std::string_view FileNamePart(std::string_view path) {
  std::size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? path : std::string_view(path.data() + cut + 1, path.size() - cut - 1);
}

bool IsIgnoredName(const SharedBlock& block, std::string_view upperName) {
  if (upperName.empty()) return true;
  return IgnoreListContains(block, upperName);
}

}  // namespace vt::hook
