// Forwards to the headers the resident program's helpers moved to (util/FrameMetrics.h,
// util/PathExists.h), for the files that still include this one.
#pragma once
#include "util/FrameMetrics.h"
#include "util/PathExists.h"
