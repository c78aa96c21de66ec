// Decoders ask this now and then; true means a newer request superseded theirs, and they
// stop with a failed result instead of finishing a picture nobody will see.
#pragma once
#include <functional>

namespace vt {
using CancelCheck = std::function<bool()>;
}  // namespace vt
