# Cross build for 64-bit Windows with mingw-w64 (hosts that run no
# 32-bit code, and TV_BITS=64). The posix thread model is
# used because GoogleTest needs std::mutex; everything is linked statically so
# the programs import only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TV_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine64-emulator.sh)
