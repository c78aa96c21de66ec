#include "controller/FrameWatch.h"

namespace vt {

bool FrameWatch::Changed(const Metrics& now) {
  if (!taken_) {
    taken_ = true;
    last_ = now;
    return false;
  }
  if (now == last_) return false;
  last_ = now;
  return true;
}

}  // namespace vt
