# Helpers that keep the layers apart: forms -> platform -> core modules -> base.

# A layer's headers are reached as "<folder>/Name.h" only from targets that
# link the layer: each library publishes an include root of its own that holds
# just its folder, so an include against the arrows fails to build.
function(orvo_layer_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${root})
  set(link ${root}/${folder})
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} pointsTo)
    if(NOT pointsTo STREQUAL "${PROJECT_SOURCE_DIR}/${folder}")
      file(REMOVE ${link})  # a build folder reused for another checkout
    endif()
  endif()
  if(NOT IS_SYMLINK ${link})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# Core code holds its text as CP932 bytes, as the files do, so its narrow
# literals are compiled to CP932. Only .cpp files hold non-ASCII literals:
# core headers are shared with the UTF-8 window layer.
function(orvo_cp932_literals target)
  target_compile_options(${target} PRIVATE -fexec-charset=CP932)
endfunction()

# A core module: a static library of the folder's .cpp files, CP932 literals,
# its headers published as "<folder>/...", and the layers below it.
function(orvo_core_module target folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  add_library(${target} STATIC ${sources})
  orvo_cp932_literals(${target})
  orvo_layer_headers(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()
