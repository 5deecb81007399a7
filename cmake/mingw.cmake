# Cross build for Windows with MinGW-w64, shared by the two toolchain files,
# which set ARC_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR first.  The -posix
# variants are used because the -win32 thread model lacks std::mutex, which
# GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${ARC_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ARC_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${ARC_MINGW_TRIPLET}-windres)
set(CMAKE_AR           ${ARC_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${ARC_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${ARC_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable is linked statically so that it runs on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
