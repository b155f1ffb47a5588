# Packages, made with CPack from what cmake/Install.cmake installs (run
# `cpack` in the build folder; they land in <build>/packages):
#
#   * on Linux, a Debian package of everything: the programs, their manual
#     pages, the libraries, the headers, the CMake and pkg-config files and
#     the documents, its dependencies computed from the programs and
#     libraries by dpkg-shlibdeps (package dpkg-dev). Configure with
#     CMAKE_INSTALL_PREFIX=/usr for Debian's folders (the package preset);
#   * on Windows (the cross build), a .zip of the two programs with the README
#     and the licence, to unpack and run.

set(CPACK_PACKAGE_NAME orvask)
set(CPACK_PACKAGE_VENDOR "The Orvask authors")
set(CPACK_PACKAGE_CONTACT "The Orvask authors <orvask@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "console library for text-mode programs, and an AVL tree demonstration")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvask draws full-screen text-mode programs in any terminal: coloured output at\n\
any position, inline colour markup, virtual pages flushed by difference, keyboard\n\
input in one code space, frames, text and input boxes, timers and random numbers.\n\
It always gives the terminal back as it found it.\n\
.\n\
avl-demo shows an AVL tree keep itself balanced, every rotation announced and\n\
animated; orvask-tour walks through the library.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
  # The programs (with their DLLs, when shared), the README and the licence.
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${PROJECT_BINARY_DIR};${PROJECT_NAME};OrvaskRuntime;/"
      "${PROJECT_BINARY_DIR};${PROJECT_NAME};OrvaskLibraries;/")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The package's own shared libraries, which the programs need, are found
  # in the package itself.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      ${PROJECT_BINARY_DIR}/src/platform ${PROJECT_BINARY_DIR}/src/console)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS man-db)
endif()

include(CPack)
