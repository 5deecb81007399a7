# GoogleTest from Debian's source (/usr/src/googletest), built with the
# cross compiler like everything else.
set(ARC_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest source")
if(NOT EXISTS ${ARC_GTEST_SRC}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest source not found in ${ARC_GTEST_SRC}. Run scripts/setup first.")
endif()
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${ARC_GTEST_SRC} ${CMAKE_BINARY_DIR}/_gtest EXCLUDE_FROM_ALL SYSTEM)
