# Compiler warnings shared by every target; link PRIVATE.
add_library(veltrin_warnings INTERFACE)
add_library(veltrin::warnings ALIAS veltrin_warnings)
target_compile_options(veltrin_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                  -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                  -Wconversion -Wsign-conversion -Wnull-dereference>)

# Adds each listed sub-folder. A folder without a CMakeLists.txt stops the
# configuration, so that a misspelt or lost folder is not skipped unnoticed.
function(veltrin_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(NOT EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      message(FATAL_ERROR "veltrin_add_subdirectories: ${CMAKE_CURRENT_SOURCE_DIR}/${dir} holds no CMakeLists.txt")
    endif()
    add_subdirectory(${dir})
  endforeach()
endfunction()

# Adds the static library veltrin_<name> and its alias veltrin::<name> from
# SOURCES, with the include root (src/ unless INCLUDE_ROOT names another) as
# public include directory, the PUBLIC and PRIVATE link libraries, and the
# strict warnings.
#   veltrin_add_library(<name> [INCLUDE_ROOT <dir>] SOURCES <files...>
#                       [PUBLIC <libs...>] [PRIVATE <libs...>])
function(veltrin_add_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "INCLUDE_ROOT" "SOURCES;PUBLIC;PRIVATE")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "veltrin_add_library(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_INCLUDE_ROOT)
    set(arg_INCLUDE_ROOT ${PROJECT_SOURCE_DIR}/src)
  endif()
  add_library(veltrin_${name} STATIC ${arg_SOURCES})
  add_library(veltrin::${name} ALIAS veltrin_${name})
  target_include_directories(veltrin_${name} PUBLIC ${arg_INCLUDE_ROOT})
  target_link_libraries(veltrin_${name} PUBLIC ${arg_PUBLIC} PRIVATE ${arg_PRIVATE} veltrin::warnings)
endfunction()
