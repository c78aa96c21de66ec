# Cross build for Windows with mingw-w64, included by the per-architecture toolchain files
# with VT_MINGW_TRIPLE set. The posix thread model gives std::mutex (GoogleTest needs it);
# -static links it in.
set(CMAKE_SYSTEM_NAME Windows)
find_program(VT_MINGW_CXX NAMES ${VT_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(VT_MINGW_CC NAMES ${VT_MINGW_TRIPLE}-gcc-posix REQUIRED)
set(CMAKE_C_COMPILER ${VT_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VT_MINGW_CXX})
set(CMAKE_RC_COMPILER ${VT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
