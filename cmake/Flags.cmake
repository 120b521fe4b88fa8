# Reads the flags that decide results from cmake/flags.mk, the one list that
# build_plugins.m and the Octave package's Makefile read too, and applies
# them with the warnings to every target of the build.
set(flags_file ${CMAKE_CURRENT_LIST_DIR}/flags.mk)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${flags_file})
file(STRINGS ${flags_file} flag_lines REGEX "^GRIDMEX_[A-Z_]+ :=")
foreach(line IN LISTS flag_lines)
  string(REGEX MATCH "^(GRIDMEX_[A-Z_]+) := *(.*)$" _ "${line}")
  separate_arguments(${CMAKE_MATCH_1} UNIX_COMMAND "${CMAKE_MATCH_2}")
endforeach()
foreach(var GRIDMEX_CXX_STANDARD GRIDMEX_GNU_FLAGS GRIDMEX_MSVC_FLAGS)
  if(NOT ${var})
    message(FATAL_ERROR "${flags_file} does not set ${var}")
  endif()
endforeach()

set(CMAKE_CXX_STANDARD ${GRIDMEX_CXX_STANDARD})
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(MSVC)
  add_compile_options(/W4 ${GRIDMEX_MSVC_FLAGS})
else()
  add_compile_options(-Wall -Wextra ${GRIDMEX_GNU_FLAGS})
endif()
