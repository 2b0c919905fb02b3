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
# core headers are shared with the UTF-8 window layer (checked for each core
# module by the same tool, orvo_core_module below).
# GCC converts them itself. Other compilers (clang, for the sanitizer and fuzz
# builds) take only UTF-8: they compile a generated copy of each .cpp whose
# literals spell the CP932 bytes as escapes (cmake/Cp932Literals.cpp), so the
# sources stay readable and the GCC build stays as it is.
add_executable(orvo-cp932-literals ${CMAKE_CURRENT_LIST_DIR}/Cp932Literals.cpp)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  function(orvo_cp932_literals target)
    target_compile_options(${target} PRIVATE -fexec-charset=CP932)
  endfunction()
else()
  # Once the directory that made the target is done, so that sources added
  # later (target_sources in a subfolder) are converted too.
  function(orvo_cp932_literals target)
    # (A deferred call reads its arguments when it runs: the name is spelled out now.)
    cmake_language(EVAL CODE "cmake_language(DEFER CALL orvo_cp932_copies [[${target}]])")
  endfunction()
endif()

# Swaps each .cpp of `target` for its CP932-literal copy under cp932/ in the
# build folder. A source compiled with an -fexec-charset of its own (Qt code
# holding UTF-8 literals) is left as it is.
function(orvo_cp932_copies target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(sourceDir ${target} SOURCE_DIR)
  set(converted)
  foreach(source IN LISTS sources)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${sourceDir} OUTPUT_VARIABLE path)
    get_source_file_property(options ${path} COMPILE_OPTIONS)
    if(NOT path MATCHES "\\.cpp$" OR options MATCHES "exec-charset")
      list(APPEND converted ${source})
      continue()
    endif()
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${path})
    file(RELATIVE_PATH fromBuild ${PROJECT_BINARY_DIR} ${path})
    set(copy ${PROJECT_BINARY_DIR}/cp932/${relative})
    cmake_path(GET path PARENT_PATH folder)
    cmake_path(GET copy PARENT_PATH copyFolder)
    add_custom_command(OUTPUT ${copy}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${copyFolder}
      COMMAND orvo-cp932-literals ${path} ${copy} ${fromBuild}
      DEPENDS ${path} orvo-cp932-literals
      COMMENT "CP932 literals of ${relative}" VERBATIM)
    # Includes beside the source ("Name.h") are found from the copy too.
    set_source_files_properties(${copy} PROPERTIES INCLUDE_DIRECTORIES ${folder})
    list(APPEND converted ${copy})
  endforeach()
  set_property(TARGET ${target} PROPERTY SOURCES ${converted})
endfunction()

# A core module: a static library of the folder's .cpp files, CP932 literals,
# its headers published as "<folder>/...", and the layers below it.
function(orvo_core_module target folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  add_library(${target} STATIC ${sources})
  orvo_cp932_literals(${target})
  orvo_layer_headers(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${ARGN})
  orvo_fuzz_coverage(${target})
  # No header of the module may hold a non-ASCII narrow literal (see above).
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  if(headers)
    set(stamp ${PROJECT_BINARY_DIR}/layers/${target}.ascii-literals)
    add_custom_command(OUTPUT ${stamp}
      COMMAND orvo-cp932-literals --refuse-non-ascii ${headers}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${headers} orvo-cp932-literals
      COMMENT "ASCII literals in the headers of ${folder}" VERBATIM)
    add_custom_target(${target}-header-literals DEPENDS ${stamp})
    add_dependencies(${target} ${target}-header-literals)
  endif()
endfunction()

# A library whose code also goes into a shared object (orvokakei-cli's paper
# module): position-independent, its calls inside itself still bound directly
# as in a program.
function(orvo_position_independent target)
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${target} PRIVATE -fno-semantic-interposition)
endfunction()
