# Installation: the programs, and Orvask as a library other programs can use
# through find_package(Orvask) (target Orvask::orvask, which brings
# Orvask::platform) or pkg-config (orvask).
#
# Components: OrvaskRuntime holds the programs; OrvaskDevelopment the static
# libraries, the public headers, the CMake package and the pkg-config file.

include(CMakePackageConfigHelpers)

set(ORVASK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvask)

# --- The programs ----------------------------------------------------------------
install(TARGETS avl-demo orvask-tour RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT OrvaskRuntime)
install(FILES ${PROJECT_SOURCE_DIR}/man/avl-demo.1 ${PROJECT_SOURCE_DIR}/man/orvask-tour.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT OrvaskRuntime)

# --- The libraries and their public headers ----------------------------------------
install(TARGETS orvask orvask_platform EXPORT OrvaskTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT OrvaskDevelopment)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/orvask ${PROJECT_BINARY_DIR}/include/orvask
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT OrvaskDevelopment)

# --- CMake package -------------------------------------------------------------
install(EXPORT OrvaskTargets NAMESPACE Orvask:: DESTINATION ${ORVASK_CMAKE_DIR}
        COMPONENT OrvaskDevelopment)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvaskConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/OrvaskConfig.cmake
                              INSTALL_DESTINATION ${ORVASK_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvaskConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
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
