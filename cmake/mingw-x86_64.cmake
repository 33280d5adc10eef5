# Cross build for 64-bit Windows with mingw-w64, for hosts that run no 32-bit
# code (and TV_BITS=64): the same sources, run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TV_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine64-emulator.sh)
