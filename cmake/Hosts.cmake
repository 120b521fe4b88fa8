# Finds the hosts the plug-ins can be built for and defines
# gridmex_add_plugin(), which adds one plug-in for every host found:
#   own host  build/own/NAME.so      always (the tests drive these);
#             NAME.mexw64 on Windows, NAME.mexmaca64 or NAME.mexmaci64 on
#             macOS, see Systems.cmake
#   Octave    build/octave/NAME.mex  when mkoctfile is found (not when
#             cross-compiling: it would be the build machine's Octave)
#   MATLAB    build/matlab/NAME.mexa64 (.mexw64, .mexmaci64, .mexmaca64)
#             when FindMatlab finds MATLAB
# `cmake --install` puts each host's plug-ins, with their help files NAME.m,
# in a folder of that host's name under the prefix (install component of the
# same name): own/ (with the host library, which the plug-ins find beside
# them), octave/, matlab/.

set(GRIDMEX_OWN_DIR ${PROJECT_BINARY_DIR}/own)
set(GRIDMEX_OCTAVE_DIR ${PROJECT_BINARY_DIR}/octave)
set(GRIDMEX_MATLAB_DIR ${PROJECT_BINARY_DIR}/matlab)

# What each system asks of a plug-in file, and the threads library.
include(${CMAKE_CURRENT_LIST_DIR}/Systems.cmake)

# Octave: its own headers and link flags.  An instrumented plug-in cannot be
# loaded by an uninstrumented Octave, so sanitizer builds skip it.
option(GRIDMEX_WITH_OCTAVE "Build the Octave plug-ins and their tests when mkoctfile is found" ON)
find_program(GRIDMEX_MKOCTFILE mkoctfile)
find_program(GRIDMEX_OCTAVE_CLI octave-cli)
set(GRIDMEX_OCTAVE OFF)
if(GRIDMEX_WITH_OCTAVE AND GRIDMEX_MKOCTFILE AND NOT GRIDMEX_SANITIZE AND NOT CMAKE_CROSSCOMPILING)
  execute_process(COMMAND ${GRIDMEX_MKOCTFILE} -p OCTINCLUDEDIR
                  OUTPUT_VARIABLE GRIDMEX_OCTAVE_INCLUDE OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(EXISTS ${GRIDMEX_OCTAVE_INCLUDE}/mex.h)
    set(GRIDMEX_OCTAVE ON)
    add_library(gridmex_octave_host INTERFACE)
    target_include_directories(gridmex_octave_host INTERFACE ${GRIDMEX_OCTAVE_INCLUDE})
    message(STATUS "Octave plug-ins: ${GRIDMEX_OCTAVE_DIR} (headers ${GRIDMEX_OCTAVE_INCLUDE})")
    # Octave's older headers lack mxCreateUninitNumericMatrix: with those,
    # outputs are created zero-filled.
    file(STRINGS ${GRIDMEX_OCTAVE_INCLUDE}/mexproto.h uninit REGEX "mxCreateUninitNumericMatrix")
    if(NOT uninit)
      target_compile_definitions(gridmex_octave_host INTERFACE GRIDMEX_NO_UNINIT)
      message(STATUS "Octave's headers lack mxCreateUninitNumericMatrix: outputs are created zero-filled")
    endif()
  endif()
endif()

# MATLAB: optional and absent on most build machines; stay quiet without it.
set(GRIDMEX_MATLAB OFF)
if(NOT GRIDMEX_SANITIZE)
  find_package(Matlab QUIET COMPONENTS MX_LIBRARY)
  if(Matlab_FOUND)
    set(GRIDMEX_MATLAB ON)
    message(STATUS "MATLAB plug-ins: ${GRIDMEX_MATLAB_DIR}")
  endif()
endif()

# Installed own-host plug-ins find the host library in their own folder.
if(APPLE)
  set(GRIDMEX_ORIGIN @loader_path)
else()
  set(GRIDMEX_ORIGIN $ORIGIN)
endif()

# Called from a domain folder: the plug-in links that domain's target.
function(gridmex_add_plugin name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  get_filename_component(domain ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(core gridmex_${domain})

  # Own host: links the host library as a real plug-in links libmx/libmex,
  # and exports exactly mexFunction and (but on Windows)
  # mexfilerequiredapiversion.
  add_library(${name} MODULE ${ARG_SOURCES})
  if(NOT WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/host/src/apiversion.c)
  endif()
  target_link_libraries(${name} PRIVATE mexhost ${core})
  gridmex_export_entry_points(${name} own)
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ${GRIDMEX_PLUGIN_SUFFIX}
                        LIBRARY_OUTPUT_DIRECTORY ${GRIDMEX_OWN_DIR} INSTALL_RPATH ${GRIDMEX_ORIGIN})
  install(TARGETS ${name} LIBRARY DESTINATION own COMPONENT own)

  if(GRIDMEX_OCTAVE)
    add_library(${name}_octave MODULE ${ARG_SOURCES})
    target_link_libraries(${name}_octave PRIVATE gridmex_octave_host ${core})
    gridmex_export_entry_points(${name}_octave octave)
    set_target_properties(${name}_octave PROPERTIES OUTPUT_NAME ${name} PREFIX "" SUFFIX ".mex"
                          LIBRARY_OUTPUT_DIRECTORY ${GRIDMEX_OCTAVE_DIR})
    install(TARGETS ${name}_octave LIBRARY DESTINATION octave COMPONENT octave)
  endif()

  if(GRIDMEX_MATLAB)
    # MATLAB's documented build: 64-bit sizes (R2017b API), its own export
    # map and interface-version object.
    matlab_add_mex(NAME ${name}_matlab MODULE SRC ${ARG_SOURCES} OUTPUT_NAME ${name} R2017b
                   LINK_TO ${core})
    if(MINGW)
      # matlab_add_mex sets the exports for Microsoft's linker only.
      target_sources(${name}_matlab PRIVATE ${PROJECT_SOURCE_DIR}/cmake/exports-windows.def)
    endif()
    # MATLAB finds its libraries itself: no search path of this build.
    set_target_properties(${name}_matlab PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${GRIDMEX_MATLAB_DIR} SKIP_BUILD_RPATH ON)
    install(TARGETS ${name}_matlab LIBRARY DESTINATION matlab RUNTIME DESTINATION matlab COMPONENT matlab)
  endif()

  # The help file NAME.m beside the entry source goes beside each built
  # plug-in, where MATLAB's and Octave's help find it (the compiled plug-in
  # still takes precedence when called).
  set(help ${CMAKE_CURRENT_SOURCE_DIR}/${name}.m)
  if(EXISTS ${help})
    set_property(GLOBAL APPEND PROPERTY GRIDMEX_HELP_FILES ${help})
    install(FILES ${help} DESTINATION own COMPONENT own)
    if(GRIDMEX_OCTAVE)
      configure_file(${help} ${GRIDMEX_OCTAVE_DIR}/${name}.m COPYONLY)
      install(FILES ${help} DESTINATION octave COMPONENT octave)
    endif()
    if(GRIDMEX_MATLAB)
      configure_file(${help} ${GRIDMEX_MATLAB_DIR}/${name}.m COPYONLY)
      install(FILES ${help} DESTINATION matlab COMPONENT matlab)
    endif()
  endif()

  set_property(GLOBAL APPEND PROPERTY GRIDMEX_PLUGINS ${name})
endfunction()
