# Installation: the programs, and Orvask as a library other programs can use
# through find_package(Orvask) (target Orvask::orvask, which brings
# Orvask::platform) or pkg-config (orvask). Orvask is under the MIT licence
# (LICENSE), installed with it.
#
# Components: OrvaskRuntime holds the programs, their manual pages and the
# documents; OrvaskLibraries the shared libraries, when built;
# OrvaskDevelopment the static libraries or the shared libraries' link names,
# the public headers, the library's manual page and reference, the CMake
# package and the pkg-config file.

include(CMakePackageConfigHelpers)

set(ORVASK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvask)
set(ORVASK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvask)

# --- The programs ----------------------------------------------------------------
set(_programs)
if(ORVASK_BUILD_DEMO)
  list(APPEND _programs avl-demo)
endif()
if(ORVASK_BUILD_TOUR)
  list(APPEND _programs orvask-tour)
endif()

# Installed shared libraries outside the system's own library folders are
# found relative to the programs and to each other.
if(BUILD_SHARED_LIBS AND UNIX AND NOT APPLE)
  list(FIND CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES "${CMAKE_INSTALL_FULL_LIBDIR}" _system_libdir)
  if(_system_libdir EQUAL -1)
    file(RELATIVE_PATH _libdir_from_bindir
         /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(orvask PROPERTIES INSTALL_RPATH "$ORIGIN")
    if(_programs)
      set_target_properties(${_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${_libdir_from_bindir}")
    endif()
  endif()
endif()

if(_programs)
  install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          COMPONENT OrvaskRuntime)
endif()
if(UNIX)
  foreach(program ${_programs})
    install(FILES ${PROJECT_SOURCE_DIR}/man/${program}.1
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT OrvaskRuntime)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/man/orvask.3
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man3 COMPONENT OrvaskDevelopment)
endif()

# --- The licence and the documents -------------------------------------------------
if(WIN32)
  # Beside the folder of the programs, where a user who unpacks them looks.
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md
          DESTINATION . COMPONENT OrvaskRuntime)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md
                ${PROJECT_SOURCE_DIR}/CHANGELOG.md
          DESTINATION ${ORVASK_DOC_DIR} COMPONENT OrvaskRuntime)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/orvask.md
          DESTINATION ${ORVASK_DOC_DIR} COMPONENT OrvaskDevelopment)
endif()

# --- The libraries and their public headers ----------------------------------------
install(TARGETS orvask orvask_platform EXPORT OrvaskTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT OrvaskLibraries
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT OrvaskLibraries
                NAMELINK_COMPONENT OrvaskDevelopment
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
