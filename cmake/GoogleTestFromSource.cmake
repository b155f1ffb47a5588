# GoogleTest built from source for the target, for builds that find no
# installed GoogleTest (a cross build finds none of the host's). Debian ships
# the sources in /usr/src/googletest (package googletest). Gives the same
# targets as find_package(GTest): GTest::gtest, GTest::gtest_main and
# GTest::gmock.

set(ORVASK_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest's sources, built when no installed GoogleTest is found")
if(NOT EXISTS ${ORVASK_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest found: install it, or its sources in "
                      "ORVASK_GOOGLETEST_SOURCE_DIR (${ORVASK_GOOGLETEST_SOURCE_DIR})")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)  # Windows threads on Windows
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)  # MSVC: the same runtime as ours
# Static, whatever the project's libraries are: the tests link it whole.
set(_shared ${BUILD_SHARED_LIBS})
set(BUILD_SHARED_LIBS OFF)
add_subdirectory(${ORVASK_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set(BUILD_SHARED_LIBS ${_shared})

foreach(lib gtest gtest_main gmock)
  if(NOT TARGET GTest::${lib})  # newer GoogleTests make them themselves
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
