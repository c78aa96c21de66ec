// File times as the preview shows them: local time, as days since 30 December 1899 with the
// time of day as the fraction (Windows build).
#pragma once
#include <windows.h>

namespace vt {

// -1.0 for the zero time and for one the system cannot convert.
double DateOfFileTime(const FILETIME& utc);

}  // namespace vt
