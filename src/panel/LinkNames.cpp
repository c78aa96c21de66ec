#include "panel/LinkNames.h"

#include <algorithm>

namespace vt {

namespace {
std::string Folded(const std::string& name, UpperCaseFn upper) {
  std::string key = name;
  if (upper && !key.empty()) upper(key.data(), key.size());
  return key;
}
}  // namespace

std::vector<std::string> StrayLinkFiles(const std::vector<std::string>& keep,
                                        const std::vector<std::string>& found,
                                        UpperCaseFn upper) {
  std::vector<std::string> kept;
  kept.reserve(keep.size());
  for (const std::string& k : keep)
    if (!k.empty()) kept.push_back(Folded(k, upper));
  std::sort(kept.begin(), kept.end());

  std::vector<std::string> stray;
  for (const std::string& name : found) {
    if (name.empty() || name == "." || name == "..") continue;
    if (!std::binary_search(kept.begin(), kept.end(), Folded(name, upper))) stray.push_back(name);
  }
  return stray;
}

}  // namespace vt
