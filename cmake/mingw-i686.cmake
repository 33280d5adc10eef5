# Cross build for 32-bit Windows with mingw-w64: the program as it ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TV_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-emulator.sh)
