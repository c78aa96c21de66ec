// The soak's short form: fifty dialog cycles over three programs at a time against the real
// resident program (scripts/soak.sh runs a thousand over ten and measures them; under Wine
// without a window manager ten at a time are more than the resident program keeps up with).
#include <cstdio>

#include "support/PanelHarness.h"
#include "support/Soak.h"

namespace {

using namespace vtt;

TEST_F(Panel, FiftyDialogCyclesEndWithoutACrashAndWithEverySlotFree) {
  StartController();
  SoakRun run(*folder_, controller_, 3);
  EXPECT_TRUE(run.RunTo(50)) << run.Notes();
  run.CloseAll();
  const SoakCounts& c = run.Counts();
  EXPECT_EQ(c.crashes, 0) << run.Notes();
  // Slowness under load (a dialog without its panel, a late end) is the benchmark's to
  // measure; it is shown here, not judged.
  std::printf("%d dialogs, %d without a panel, %d ended late, %d slots freed late\n", c.cycles, c.unframed, c.hung,
              c.slowSlots);
  EXPECT_GE(c.handled, 9);
  EXPECT_TRUE(WaitFor([&] { return run.SlotsInUse() == 0; }, 4 * kWait)) << run.SlotsInUse() << " slots in use";
  EXPECT_TRUE(controller_.Running());
}

}  // namespace
