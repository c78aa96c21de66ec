// The running-program query: WM_NULL with kProgramQueryParam posted to every top-level
// window. Each hook instance that sees it reports its program's path (VTCD_PROGRAM), which
// the main form adds to its running-program list.
#pragma once

namespace vt {

void PingAllWindows();

}  // namespace vt
