# Warning and sanitizer settings shared by every target of the project.
add_library(orvask_options INTERFACE)
target_compile_options(orvask_options INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow>)
if(ORVASK_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(orvask_options INTERFACE ${_san})
  target_link_options(orvask_options INTERFACE ${_san})
endif()

# Applies the project's warning and sanitizer settings to a target without
# exporting them to users of an installed library.
function(avl_apply_options target)
  target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:orvask_options>)
endfunction()

# Makes one of Orvask's two libraries, <name>, from the object library
# <name>_objects: static or shared as BUILD_SHARED_LIBS says (liborvask.so.1,
# orvask.dll), with the alias Orvask::<EXPORT_NAME>. The objects are compiled
# position-independent, so that the static archive links into a shared object
# too, and with every symbol hidden but those the public headers mark with the
# library's export macro (orvask/platform/export.h), which BUILDING switches
# to exporting. The tests that look inside link the same objects (see
# orvask_internals in src/console).
function(orvask_add_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "EXPORT_NAME;BUILDING" "")
  set(objects ${name}_objects)
  set_target_properties(${objects} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_compile_definitions(${objects} PRIVATE ${arg_BUILDING})
  target_include_directories(${objects} PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include ${PROJECT_BINARY_DIR}/include)
  avl_apply_options(${objects})

  add_library(${name} $<TARGET_OBJECTS:${objects}>)
  add_library(Orvask::${arg_EXPORT_NAME} ALIAS ${name})
  avl_apply_options(${name})
  set_target_properties(${name} PROPERTIES
    EXPORT_NAME ${arg_EXPORT_NAME}
    LINKER_LANGUAGE CXX
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
endfunction()
