# Run with cmake -P. Builds the consumer program in CONSUMER_DIR (under
# WORK_DIR) with Orvask taken one way (MODE) and runs it; any failing step
# fails. Asks for VERSION (major.minor).
#
#   find_package, pkg_config   installs the library of BUILD_DIR into
#                              WORK_DIR/prefix and builds against that;
#                              without BUILD_DIR, against the Orvask
#                              installed on the system
#   add_subdirectory,          builds Orvask's SOURCE_DIR inside the consumer's
#   fetchcontent               build (with shared libraries when SHARED is on),
#                              then installs the consumer, which must install
#                              nothing of Orvask's
#
# Optional: GENERATOR, CXX, CXX_FLAGS, PKG_CONFIG (pkg_config), SHARED.

cmake_minimum_required(VERSION 3.20)

foreach(var MODE WORK_DIR CONSUMER_DIR VERSION)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "build_consumer.cmake needs -D${var}=...")
  endif()
endforeach()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " shown "${ARGN}")
    message(FATAL_ERROR "failed (${rc}): ${shown}\n${out}\n${err}")
  endif()
endfunction()

# Configures and builds the consumer's CMake project with the given options.
function(build_with_cmake)
  set(options)
  if(GENERATOR)
    list(APPEND options -G ${GENERATOR})
  endif()
  if(CXX)
    list(APPEND options -DCMAKE_CXX_COMPILER=${CXX})
  endif()
  if(CXX_FLAGS)  # otherwise CMake takes the environment's CXXFLAGS
    list(APPEND options "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
  endif()
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build ${options}
      -DORVASK_WANTED_VERSION=${VERSION} ${ARGN})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
endfunction()

if((MODE STREQUAL "find_package" OR MODE STREQUAL "pkg_config") AND BUILD_DIR)
  # The library must be up to date before it is installed.
  run(${CMAKE_COMMAND} --build ${BUILD_DIR} --target orvask orvask_platform)
  foreach(component OrvaskLibraries OrvaskDevelopment)
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component ${component})
  endforeach()
  foreach(header orvask/orvask.h orvask/inputbox.h orvask/platform/backend.h
                 orvask/platform/memory_console.h orvask/platform/export.h)
    file(GLOB_RECURSE found ${prefix}/include/${header})
    if(NOT found)
      message(FATAL_ERROR "not installed: include/${header}")
    endif()
  endforeach()
endif()

if(MODE STREQUAL "find_package")
  build_with_cmake(-DCMAKE_PREFIX_PATH=${prefix})  # searched first, when there is one
  set(program ${WORK_DIR}/build/orvask_consumer)
elseif(MODE STREQUAL "pkg_config")
  if(NOT PKG_CONFIG)
    message(FATAL_ERROR "pkg-config was not found when the project was configured")
  endif()
  if(BUILD_DIR)
    file(GLOB_RECURSE pc_files ${prefix}/orvask.pc)
    if(NOT pc_files)
      message(FATAL_ERROR "orvask.pc was not installed")
    endif()
    get_filename_component(pc_dir ${pc_files} DIRECTORY)
    set(ENV{PKG_CONFIG_PATH} ${pc_dir})
  endif()
  if(NOT CXX)
    set(CXX c++)
  endif()
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs "orvask >= ${VERSION}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE flags ERROR_VARIABLE err
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pkg-config --cflags --libs orvask failed: ${err}")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(extra UNIX_COMMAND "${CXX_FLAGS}")
  set(program ${WORK_DIR}/orvask_consumer)
  run(${CXX} -std=c++20 ${extra} "-DORVASK_EXPECTED_VERSION=\"${VERSION}\""
      ${CONSUMER_DIR}/main.cpp ${CONSUMER_DIR}/check.cpp ${flags} -o ${program})
  # Shared libraries outside the loader's folders are found as a user's
  # would be: through the library path.
  execute_process(COMMAND ${PKG_CONFIG} --variable=libdir orvask
                  OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ENV{LD_LIBRARY_PATH} ${libdir})
elseif(MODE STREQUAL "add_subdirectory" OR MODE STREQUAL "fetchcontent")
  if(NOT SOURCE_DIR)
    message(FATAL_ERROR "MODE ${MODE} needs -DSOURCE_DIR=...")
  endif()
  set(shared OFF)
  if(SHARED)
    set(shared ON)
  endif()
  build_with_cmake(-DCONSUMER_MODE=${MODE} -DORVASK_SOURCE_DIR=${SOURCE_DIR}
                   -DBUILD_SHARED_LIBS=${shared})
  run(${CMAKE_COMMAND} --install ${WORK_DIR}/build --prefix ${prefix})
  file(GLOB_RECURSE installed_by_orvask ${prefix}/*orvask* ${prefix}/*Orvask*)
  list(FILTER installed_by_orvask EXCLUDE REGEX "orvask_consumer")
  if(installed_by_orvask)
    message(FATAL_ERROR "the host's install installed Orvask's files: ${installed_by_orvask}")
  endif()
  set(program ${WORK_DIR}/build/orvask_consumer)
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()

run(${program})
message(STATUS "${MODE}: Orvask builds and runs in a program of its user's")
