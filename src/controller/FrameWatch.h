// The watch over the desktop's frame metrics (frame width, frame height, caption height) that
// every panel's geometry is built on: the first sample is only taken, and each later sample
// that differs in any of the three is one change.
#pragma once
#include <array>

namespace vt {

class FrameWatch {
 public:
  using Metrics = std::array<int, 3>;
  // True when this sample differs from the last one taken (never for the first).
  bool Changed(const Metrics& now);

 private:
  bool taken_ = false;
  Metrics last_{};
};

}  // namespace vt
