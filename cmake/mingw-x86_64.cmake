# Cross-build for 64-bit Windows with Debian's mingw-w64 (posix threads):
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
# Its programs run under Wine's 64-bit loader, also on a machine whose kernel
# runs no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SPIRAL_MINGW_TRIPLE x86_64-w64-mingw32)
set(SPIRAL_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
