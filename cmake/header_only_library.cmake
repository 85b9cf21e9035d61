# Header-only libraries of the building machine (stb, CLI11) as imported targets.

# NAME: the target to make; HEADER: the header as the code includes it; SUFFIX: a folder below
# an include folder where it may sit (stb's is "stb"). A cross build sees the library through a
# folder of the build that links to just its headers, so that no other header of the building
# machine (its C library's, say) comes along and hides the target's own.
function(krello_header_only_library name header suffix)
  string(MAKE_C_IDENTIFIER "${header}" id)
  find_path(KRELLO_HEADER_${id} ${header} PATH_SUFFIXES ${suffix} NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(dir ${KRELLO_HEADER_${id}})
  if(CMAKE_CROSSCOMPILING)
    string(REGEX REPLACE "/.*" "" top "${header}")
    set(dir ${CMAKE_BINARY_DIR}/host-headers/${id})
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${KRELLO_HEADER_${id}}/${top} ${dir}/${top} SYMBOLIC)
  endif()
  add_library(${name} INTERFACE IMPORTED)
  target_include_directories(${name} SYSTEM INTERFACE ${dir})
endfunction()
