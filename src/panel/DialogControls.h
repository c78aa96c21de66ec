// Forwards to util/DialogChildren.h, where the attached dialog's controls are found for the
// panel and the hook library alike, for the files that still include this one.
#pragma once
#include "util/DialogChildren.h"
