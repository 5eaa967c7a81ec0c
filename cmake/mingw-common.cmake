# What the Windows toolchain files share; each sets SPIRAL_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${SPIRAL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPIRAL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SPIRAL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SPIRAL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic instead of the x87 stack: float and double results then
# round exactly as on x86-64, so both builds draw the same numbers.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# The C runtime, libstdc++, libgcc and winpthread are linked in: the DLL and
# the programs import only Windows system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The toolchain file may name Wine's loader for its programs; otherwise the
# `wine` on the path runs them.
if(SPIRAL_WINE_LOADER AND EXISTS ${SPIRAL_WINE_LOADER})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SPIRAL_WINE_LOADER})
else()
  find_program(SPIRAL_WINE NAMES wine)
  if(SPIRAL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SPIRAL_WINE})
  endif()
endif()
