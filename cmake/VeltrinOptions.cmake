# Compiler warnings shared by every target; link PRIVATE.
add_library(veltrin_warnings INTERFACE)
add_library(veltrin::warnings ALIAS veltrin_warnings)
target_compile_options(veltrin_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                  -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                  -Wconversion -Wsign-conversion -Wnull-dereference>)

# Adds each listed sub-folder that holds a CMakeLists.txt, so that a layer can
# be added by creating its folder.
function(veltrin_add_present_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
