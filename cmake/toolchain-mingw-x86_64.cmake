# The same Windows programs built 64-bit, for testing on machines whose
# kernel cannot run 32-bit programs (no IA-32 emulation, so no 32-bit
# Wine). Wine's 64-bit Direct3D 8 draws as the 32-bit one does. The
# program users get is the 32-bit build; this one only runs the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELTRACE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${VELTRACE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRACE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${VELTRACE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELTRACE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under 64-bit Wine with a 64-bit prefix of their own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine64-run)
