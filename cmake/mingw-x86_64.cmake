# The 64-bit Windows build (PE32+, x86-64), for today's 64-bit Windows.
set(ARC_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
