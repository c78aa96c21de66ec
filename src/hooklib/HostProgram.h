// The program a hook instance runs in, as the controller sees it: the path of its module
// file (the command line only when that cannot be had), its file-name part, and the ignore
// decision. Fixed buffers only: this runs
// inside foreign processes, where an allocation failure must not end the host.
#pragma once
#include <cstddef>
#include <string_view>

#include "protocol/SharedBlock.h"

namespace vt::hook {

inline constexpr std::size_t kProgramPathMax = 1000;
// Longest command line looked at; Windows allows 32767 characters.
inline constexpr std::size_t kCommandLineMax = 32768;

// A program path into out (kProgramPathMax + 1 bytes), NUL-terminated; returns its length.
// A path longer than 1000 characters becomes "... " and its last 996 characters.
std::size_t BoundedProgramPath(std::string_view path, char* out);

// The same for the program part of a command line. A quoted program gives the text between
// the quotes (an unclosed quote runs to the end); an unquoted one ends at the first blank, so
// that an argument never becomes part of the name.
std::size_t ProgramPathFromCommandLine(std::string_view commandLine, char* out);

// The text after the last '\\' or ':' (the whole path when it has neither).
std::string_view FileNamePart(std::string_view path);

// An upper-case file name checked against the shared ignore list. An empty name counts as
// ignored: a dialog whose program cannot be named is left alone.
bool IsIgnoredName(const SharedBlock& block, std::string_view upperName);

}  // namespace vt::hook
