# What each operating system asks of a plug-in file, for the own host and
# Octave builds (matlab_add_mex applies MATLAB's own rules; Octave's files
# are NAME.mex everywhere).  Own-host files:
#   Linux    NAME.so,     a GNU version script keeps only the entry points
#   macOS    NAME.mexmaca64 (Apple silicon) or NAME.mexmaci64 (Intel), as
#            MATLAB names them; an exported-symbols list keeps only the
#            entry points
#   Windows  NAME.mexw64, a module-definition file exports only mexFunction;
#            the C++ runtime, libgcc and winpthreads are linked in
#            statically, so that a plug-in needs no DLL beside it but the
#            host's libmx.dll and libmex.dll and Windows' own
# Sizes are 64-bit on every system.  The interface-version export
# (mexfilerequiredapiversion) exists on Linux and macOS only.

if(WIN32)
  set(GRIDMEX_PLUGIN_SUFFIX .mexw64)
  if(MINGW)
    add_link_options(-static)
    # At -O3, GCC's Windows target warns that functions it splits out of the
    # AVX2 kernels return AVX vectors without AVX enabled (none of them is
    # seen outside its translation unit, so no ABI is at stake; -O0 gives
    # no warning).
    add_compile_options(-Wno-psabi)
  endif()
elseif(APPLE AND CMAKE_SYSTEM_PROCESSOR STREQUAL "arm64")
  set(GRIDMEX_PLUGIN_SUFFIX .mexmaca64)
elseif(APPLE)
  set(GRIDMEX_PLUGIN_SUFFIX .mexmaci64)
else()
  set(GRIDMEX_PLUGIN_SUFFIX .so)
endif()

# Kernels split large calls over threads of the C++ standard library
# (common/parallel.h), started for the call and joined before it returns.
find_package(Threads REQUIRED)

# Keeps exactly the entry points of a plug-in visible: `kind` is own (the
# own host's, which also exports mexfilerequiredapiversion off Windows) or
# octave.
function(gridmex_export_entry_points target kind)
  set(dir ${PROJECT_SOURCE_DIR}/cmake)
  if(WIN32)
    target_sources(${target} PRIVATE ${dir}/exports-windows.def)
  elseif(APPLE)
    target_link_options(${target} PRIVATE LINKER:-exported_symbols_list,${dir}/exports-${kind}.txt)
    if(kind STREQUAL "octave")
      # Octave's functions are found in the process that loads the .mex.
      target_link_options(${target} PRIVATE LINKER:-undefined,dynamic_lookup)
    endif()
  else()
    target_link_options(${target} PRIVATE LINKER:--version-script,${dir}/exports-${kind}.map)
    if(kind STREQUAL "octave")
      # Octave loads every .mex into one process: each binds its own symbols.
      target_link_options(${target} PRIVATE LINKER:-Bsymbolic)
    endif()
  endif()
endfunction()
