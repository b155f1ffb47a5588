# Run with cmake -P. Installs the library of BUILD_DIR into WORK_DIR/prefix,
# builds the consumer program in CONSUMER_DIR against it (MODE find_package
# or pkg_config), asking for VERSION (major.minor), and runs it; any failing
# step fails the test.

cmake_minimum_required(VERSION 3.20)

foreach(var MODE BUILD_DIR WORK_DIR CONSUMER_DIR GENERATOR CXX VERSION)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "install_and_use.cmake needs -D${var}=...")
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

# The library must be up to date before it is installed.
run(${CMAKE_COMMAND} --build ${BUILD_DIR} --target orvask orvask_platform)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component OrvaskDevelopment)

foreach(header orvask/orvask.h orvask/inputbox.h orvask/platform/backend.h
               orvask/platform/memory_console.h)
  file(GLOB_RECURSE found ${prefix}/include/${header})
  if(NOT found)
    message(FATAL_ERROR "not installed: include/${header}")
  endif()
endforeach()

if(MODE STREQUAL "find_package")
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix}
      -DORVASK_WANTED_VERSION=${VERSION} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
  set(program ${WORK_DIR}/build/orvask_consumer)
elseif(MODE STREQUAL "pkg_config")
  if(NOT PKG_CONFIG)
    message(FATAL_ERROR "pkg-config was not found when the project was configured")
  endif()
  file(GLOB_RECURSE pc_files ${prefix}/orvask.pc)
  if(NOT pc_files)
    message(FATAL_ERROR "orvask.pc was not installed")
  endif()
  get_filename_component(pc_dir ${pc_files} DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} ${pc_dir})
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
      ${CONSUMER_DIR}/main.cpp ${flags} -o ${program})
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()

run(${program})
message(STATUS "${MODE}: the installed Orvask builds and runs")
