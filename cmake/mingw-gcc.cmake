# Cross-compiling for Windows with MinGW-w64's GCC (posix thread model).
# Included by the per-target files, which set TOOLCHAIN_PREFIX and
# CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-sysroot.cmake)
