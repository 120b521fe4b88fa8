# cmake -DSOURCE_DIR=... -DSTAGE_DIR=... -DTARBALL=... -DVERSION=... -P OctavePackage.cmake
# Lays out an Octave package (DESCRIPTION, COPYING, INDEX, inst/ with the
# help files, src/ with the plug-in sources and their Makefile) and packs it
# into TARBALL for "pkg install".
set(domains pixel voxel fe levelset util)
set(titles "Pixel image sampling" "Voxel volume sampling" "Finite elements on grids"
           "Level sets on grids" "Image and matrix utilities")
set(pkg ${STAGE_DIR}/gridmex)
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${pkg}/inst ${pkg}/src)

set(PROJECT_VERSION ${VERSION})
configure_file(${SOURCE_DIR}/packaging/DESCRIPTION.in ${pkg}/DESCRIPTION @ONLY)
file(COPY ${SOURCE_DIR}/COPYING DESTINATION ${pkg})
file(COPY ${SOURCE_DIR}/packaging/Makefile DESTINATION ${pkg}/src)
file(COPY ${SOURCE_DIR}/host/plugin DESTINATION ${pkg}/src/host FILES_MATCHING PATTERN "*.h")
file(COPY ${SOURCE_DIR}/common DESTINATION ${pkg}/src FILES_MATCHING PATTERN "*.h")

set(index "gridmex >> Image-based finite-element mechanics\n")
foreach(domain title IN ZIP_LISTS domains titles)
  file(GLOB entries ${SOURCE_DIR}/${domain}/*.cpp)
  if(NOT entries)
    continue()
  endif()
  file(COPY ${SOURCE_DIR}/${domain} DESTINATION ${pkg}/src FILES_MATCHING PATTERN "*.h" PATTERN "*.cpp")
  file(GLOB helps ${SOURCE_DIR}/${domain}/*.m)
  if(helps)
    file(COPY ${helps} DESTINATION ${pkg}/inst)
  endif()
  string(APPEND index "${title}\n")
  foreach(entry IN LISTS entries)
    get_filename_component(name ${entry} NAME_WE)
    string(APPEND index " ${name}\n")
  endforeach()
endforeach()
file(WRITE ${pkg}/INDEX ${index})

execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${TARBALL} gridmex WORKING_DIRECTORY ${STAGE_DIR}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not pack ${TARBALL}")
endif()
