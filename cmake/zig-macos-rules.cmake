# The link rules of the macOS cross build (zig-macos.cmake), read after
# CMake's own Darwin rules: ld64.lld links the dylibs and bundles itself,
# for the oldest system GRIDMEX_MACOS_MIN, against Zig's stub of libSystem,
# with the C++ runtime (Zig's libc++ and libc++abi) linked in statically, so
# that no libc++ dylib has to match the headers Zig compiled with.
set(zig_root ${GRIDMEX_ZIG})
get_filename_component(zig_root ${zig_root} REALPATH)
get_filename_component(zig_root ${zig_root} DIRECTORY)
# Zig's stub of libSystem as of the oldest system.
string(REGEX MATCH "^[0-9]+" macos_major ${GRIDMEX_MACOS_MIN})
set(libsystem ${zig_root}/lib/libc/darwin/libSystem.${macos_major}.tbd)

# Zig builds its libc++ and libc++abi for a target when it first links a C++
# program for it: link one once, read where the archives are from the link
# line `zig c++ -v` prints, and keep copies in the build folder.  CMake's own
# checks (try_compile) link nothing and skip this.
if(NOT GRIDMEX_MACOS_RUNTIME AND NOT PROJECT_NAME STREQUAL "CMAKE_TRY_COMPILE")
  set(runtime_dir ${CMAKE_BINARY_DIR}/zig-runtime)
  file(WRITE ${runtime_dir}/probe.cpp
       "#include <string>\nint main(int argc, char **argv) { return int(std::string(argv[argc - 1]).size()); }\n")
  message(STATUS "Zig's libc++ for ${GRIDMEX_MACOS_TRIPLE} (built once, some minutes the first time)")
  execute_process(COMMAND ${GRIDMEX_ZIG} c++ -target ${GRIDMEX_MACOS_TRIPLE} -v probe.cpp -o probe
                  WORKING_DIRECTORY ${runtime_dir} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX MATCH "(^|\n)zig ld [^\n]*" link_line "${out}")
  string(REGEX MATCH "[^ ]*/libc\\+\\+\\.a" libcxx "${link_line}")
  string(REGEX MATCH "[^ ]*/libc\\+\\+abi\\.a" libcxxabi "${link_line}")
  if(failed OR NOT libcxx OR NOT libcxxabi)
    message(FATAL_ERROR "no libc++ and libc++abi archives in the output of zig c++ -v:\n${out}")
  endif()
  file(COPY ${libcxx} ${libcxxabi} DESTINATION ${runtime_dir})
  set(GRIDMEX_MACOS_RUNTIME ${runtime_dir}/libc++.a ${runtime_dir}/libc++abi.a CACHE INTERNAL
      "Zig's C++ runtime archives for the target")
endif()
string(JOIN " " runtime ${GRIDMEX_MACOS_RUNTIME} ${libsystem})

set(link "<CMAKE_LINKER> -arch ${GRIDMEX_MACOS_ARCH} -platform_version macos ${GRIDMEX_MACOS_MIN} ${GRIDMEX_MACOS_MIN}")
string(APPEND link " -headerpad_max_install_names")
# The static runtime's operator new and delete are weak exports: left in a
# host library's export table, dyld would merge them with those of every
# other image in the process.
set(hide_runtime "-unexported_symbol '__Zn[wa]*' -unexported_symbol '__Zd[la]*'")
foreach(lang C CXX)
  # CMake's compiler checks ask for verbose output; `zig cc` passes no -v to a linker.
  set(CMAKE_${lang}_VERBOSE_FLAG "-v")
  # LINKER: options go to ld64.lld as they are.
  set(CMAKE_${lang}_LINKER_WRAPPER_FLAG "")
  set(CMAKE_${lang}_LINK_FLAGS "")
  set(CMAKE_SHARED_LIBRARY_RUNTIME_${lang}_FLAG "-rpath ")
  set(CMAKE_${lang}_CREATE_SHARED_LIBRARY
      "${link} -dylib ${hide_runtime} <LINK_FLAGS> -o <TARGET> <SONAME_FLAG> <TARGET_INSTALLNAME_DIR><TARGET_SONAME> <OBJECTS> <LINK_LIBRARIES> ${runtime}")
  set(CMAKE_${lang}_CREATE_SHARED_MODULE "${link} -bundle <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES> ${runtime}")
endforeach()
