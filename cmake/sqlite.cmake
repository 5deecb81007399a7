# SQLite from Debian's source package.  The package is downloaded with
# "apt-get source", unpacked and its amalgamation (sqlite3.c) and shell
# (shell.c) are generated once; everything lives under the build tree and is
# reused by later configures (the presets share one folder between the two
# architectures).  Nothing of SQLite's source is committed.
set(ARC_SQLITE_DIR ${CMAKE_BINARY_DIR}/_sqlite CACHE PATH "Where SQLite's source is downloaded and generated")
set(ARC_SQLITE_GEN ${ARC_SQLITE_DIR}/gen)

if(NOT EXISTS ${ARC_SQLITE_GEN}/sqlite3.c OR NOT EXISTS ${ARC_SQLITE_GEN}/shell.c)
  file(REMOVE_RECURSE ${ARC_SQLITE_DIR})
  file(MAKE_DIRECTORY ${ARC_SQLITE_DIR}/dl ${ARC_SQLITE_DIR}/src ${ARC_SQLITE_GEN})
  message(STATUS "SQLite: downloading Debian's source package")
  execute_process(COMMAND apt-get source --download-only sqlite3
                  WORKING_DIRECTORY ${ARC_SQLITE_DIR}/dl
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  file(GLOB orig ${ARC_SQLITE_DIR}/dl/sqlite3_*.orig.tar.*)
  list(FILTER orig EXCLUDE REGEX "orig-")
  if(NOT rc EQUAL 0 OR NOT orig)
    message(FATAL_ERROR "SQLite source could not be downloaded (${err}). Run scripts/setup first.")
  endif()
  execute_process(COMMAND tar xf ${orig} -C ${ARC_SQLITE_DIR}/src --strip-components=1
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "SQLite source could not be unpacked")
  endif()
  message(STATUS "SQLite: generating sqlite3.c and shell.c")
  set(bld ${ARC_SQLITE_DIR}/bld)
  file(MAKE_DIRECTORY ${bld})
  execute_process(COMMAND ${ARC_SQLITE_DIR}/src/configure --disable-tcl
                  WORKING_DIRECTORY ${bld} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(rc EQUAL 0)
    execute_process(COMMAND make -j2 sqlite3.c shell.c
                    WORKING_DIRECTORY ${bld} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "SQLite amalgamation could not be generated (needs tclsh)")
  endif()
  foreach(f sqlite3.c sqlite3.h sqlite3ext.h shell.c)
    file(COPY ${bld}/${f} DESTINATION ${ARC_SQLITE_GEN})
  endforeach()
  file(REMOVE_RECURSE ${bld})
endif()

# The dbpage virtual table gives the shell its ".recover" command.
set(ARC_SQLITE_DEFS SQLITE_ENABLE_DBPAGE_VTAB SQLITE_THREADSAFE=1 SQLITE_DEFAULT_FOREIGN_KEYS=0)

add_library(sqlite3 STATIC ${ARC_SQLITE_GEN}/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${ARC_SQLITE_GEN})
target_compile_definitions(sqlite3 PUBLIC ${ARC_SQLITE_DEFS})
target_compile_options(sqlite3 PRIVATE -w -O2)

add_executable(sqlite3_shell ${ARC_SQLITE_GEN}/shell.c)
set_target_properties(sqlite3_shell PROPERTIES OUTPUT_NAME sqlite3
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_libraries(sqlite3_shell PRIVATE sqlite3)
# With UNICODE defined the shell has wmain, which reads its arguments as UTF-16.
target_link_options(sqlite3_shell PRIVATE -municode)
target_compile_options(sqlite3_shell PRIVATE -w -O2)
