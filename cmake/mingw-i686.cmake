# Cross-build for 32-bit Windows with Debian's mingw-w64 (posix threads):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# Programs of this build run under Wine (CTest runs them through it).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SPIRAL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
