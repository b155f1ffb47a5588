# Installation: the programs, and Orvask as a library other programs can use
# through find_package(Orvask) (target Orvask::orvask) or pkg-config (orvask).
#
# Components: OrvaskRuntime holds the programs; OrvaskDevelopment the static
# library, its public headers, the CMake package and the pkg-config file.

include(CMakePackageConfigHelpers)

set(ORVASK_VERSION 1.2.0)
set(ORVASK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvask)

# Users of the installed headers need C++20 (defaulted comparisons).
target_compile_features(orvask PUBLIC cxx_std_20)
set_target_properties(orvask PROPERTIES EXPORT_NAME orvask VERSION ${ORVASK_VERSION})

# --- The programs ----------------------------------------------------------------
foreach(program avl-demo orvask-tour)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
            COMPONENT OrvaskRuntime)
  endif()
endforeach()

# --- The library and its headers --------------------------------------------------
install(TARGETS orvask EXPORT OrvaskTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT OrvaskDevelopment)

file(GLOB _orvask_headers ${PROJECT_SOURCE_DIR}/src/console/orvask/*.h)
install(FILES ${_orvask_headers}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvask COMPONENT OrvaskDevelopment)
install(FILES
          ${PROJECT_SOURCE_DIR}/src/platform/orvask/platform/backend.h
          ${PROJECT_SOURCE_DIR}/src/platform/orvask/platform/console_model.h
          ${PROJECT_SOURCE_DIR}/src/platform/orvask/platform/memory_console.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvask/platform COMPONENT OrvaskDevelopment)

# --- CMake package -------------------------------------------------------------
install(EXPORT OrvaskTargets NAMESPACE Orvask:: DESTINATION ${ORVASK_CMAKE_DIR}
        COMPONENT OrvaskDevelopment)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvaskConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/OrvaskConfig.cmake
                              INSTALL_DESTINATION ${ORVASK_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvaskConfigVersion.cmake
                                 VERSION ${ORVASK_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrvaskConfig.cmake
              ${PROJECT_BINARY_DIR}/OrvaskConfigVersion.cmake
        DESTINATION ${ORVASK_CMAKE_DIR} COMPONENT OrvaskDevelopment)

# --- pkg-config ------------------------------------------------------------------
# The .pc file finds the prefix relative to itself, so installing with
# `cmake --install --prefix <dir>` (a prefix chosen after configuring) works.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  message(FATAL_ERROR "orvask.pc needs a relative CMAKE_INSTALL_LIBDIR")
endif()
file(RELATIVE_PATH ORVASK_PC_PREFIX_FROM_PCDIR
     /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" ORVASK_PC_PREFIX_FROM_PCDIR "${ORVASK_PC_PREFIX_FROM_PCDIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvask.pc.in ${PROJECT_BINARY_DIR}/orvask.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orvask.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT OrvaskDevelopment)
