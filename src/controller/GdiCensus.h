// How many GDI objects this process holds, for the leak checks of the test suite and the
// benchmarks. Windows answers GetGuiResources; Wine stubs it, so there the objects are
// counted in the handle table Wine keeps in the process (the PEB's GdiSharedHandleTable).
// Kestrum answers the registered message kGdiCensusMessage only when it was started with
// the environment variable VT_GDI_CENSUS=1.
#pragma once
#include <windows.h>

namespace vt {

inline constexpr char kGdiCensusMessage[] = "VantrelGdiCensus";
inline constexpr char kGdiCensusSwitch[] = "VT_GDI_CENSUS";

// -1 when neither way can tell.
int GdiObjectCount();

// The census message, registered when the switch is on; 0 otherwise.
UINT GdiCensusMessage();

}  // namespace vt
