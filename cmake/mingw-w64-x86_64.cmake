# Cross-builds for 64-bit Windows with Debian's mingw-w64 compilers.
# The posix thread variant provides std::thread; the runtime libraries are linked in
# statically so that the executables run without any DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRIVANA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRIVANA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRIVANA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRIVANA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRIVANA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs built here are run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
