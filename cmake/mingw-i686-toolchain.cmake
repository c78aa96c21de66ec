# x86: 32-bit Windows (PE32), the specified deliverables.
set(CMAKE_SYSTEM_PROCESSOR X86)
set(VT_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
