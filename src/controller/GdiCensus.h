// How many GDI objects this process holds (and how much its heaps hold in use), for the leak
// checks of the test suite and the benchmarks. Windows answers GetGuiResources; Wine stubs it, so there the objects are
// counted in the handle table Wine keeps in the process (the PEB's GdiSharedHandleTable).
// Kestrum answers the registered message kGdiCensusMessage only when it was started with
// the environment variable VT_GDI_CENSUS=1; with wParam kCensusHeapKb it answers the KB its
// heaps hold in use instead, which tells its own allocations from the system's.
#pragma once
#include <windows.h>

namespace vt {

inline constexpr char kGdiCensusMessage[] = "VantrelGdiCensus";
inline constexpr char kGdiCensusSwitch[] = "VT_GDI_CENSUS";
inline constexpr unsigned kCensusHeapKb = 1;

// -1 when neither way can tell.
int GdiObjectCount();

// The busy blocks of every heap of this process, in KB; -1 when a heap cannot be walked.
long long HeapKbInUse();

// The census message, registered when the switch is on; 0 otherwise.
UINT GdiCensusMessage();

}  // namespace vt
