# x64: the same programs for 64-bit Windows (PE32+).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VT_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
