// Which files of the Links folder no hot folder refers to. Names are compared without regard
// to case, as the file system compares them.
#pragma once
#include <string>
#include <vector>

#include "util/TextCase.h"  // the Windows build passes the locale's rule

namespace vt {

// The entries of `found` (names as the folder listing gives them) that match no name in
// `keep`, in listing order. "." and ".." are never returned; empty names never match.
std::vector<std::string> StrayLinkFiles(const std::vector<std::string>& keep,
                                        const std::vector<std::string>& found,
                                        UpperCaseFn upper = AsciiUpperCase);

}  // namespace vt
