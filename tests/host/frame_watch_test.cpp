// The watch that closes panels when the desktop's frame metrics change. (Wine keeps system
// parameters per process, so a change made by one program is not seen by another there; the
// rule is tested here, the closing itself by the panel tests' close paths, and the zeros the
// ShowDlgBorder switch gives by the Wine suite's frame metrics test.)
#include <gtest/gtest.h>

#include "controller/FrameWatch.h"

namespace vt {
namespace {

TEST(FrameWatch, FirstSampleIsTakenNotReported) {
  FrameWatch w;
  EXPECT_FALSE(w.Changed({4, 4, 19}));
  EXPECT_FALSE(w.Changed({4, 4, 19}));
}

TEST(FrameWatch, EachChangeOfAnyValueIsReportedOnce) {
  for (int which = 0; which < 3; ++which) {
    FrameWatch w;
    w.Changed({4, 4, 19});
    FrameWatch::Metrics m{4, 4, 19};
    m[which] += 1;
    EXPECT_TRUE(w.Changed(m)) << which;
    EXPECT_FALSE(w.Changed(m)) << which;  // the new values are the ones watched from now on
    EXPECT_TRUE(w.Changed({4, 4, 19})) << which;  // and changing back is a change again
  }
}

}  // namespace
}  // namespace vt
