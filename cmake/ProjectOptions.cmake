# Warning and sanitizer settings shared by every target of the project.
add_library(avl_options INTERFACE)
target_compile_options(avl_options INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow>)
if(AVL_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(avl_options INTERFACE ${_san})
  target_link_options(avl_options INTERFACE ${_san})
endif()

# Applies the project's warning and sanitizer settings to a target without
# exporting them to users of an installed library.
function(avl_apply_options target)
  target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:avl_options>)
endfunction()
