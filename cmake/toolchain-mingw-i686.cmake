# Cross-compiles the Windows program: 32-bit (Direct3D 8 exists only for
# 32-bit processes), posix thread model, runtime linked statically so the
# executables run on a clean Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VELTRACE_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${VELTRACE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRACE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${VELTRACE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTRACE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows test executables run under Wine through this wrapper, which uses the
# build's own Wine prefix and a virtual display when there is none.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
