# veltrin::version: the generated header veltrin/version.h with the project's
# version, the one place every program, the manual pages and the package take
# it from.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
               ${PROJECT_BINARY_DIR}/generated/veltrin/version.h @ONLY)
add_library(veltrin_version INTERFACE)
add_library(veltrin::version ALIAS veltrin_version)
target_include_directories(veltrin_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
