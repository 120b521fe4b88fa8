# cmake -DSOURCE_DIR=... -DHOST_DIR=.../own -DROOT=... -P MatlabStandIn.cmake
# Lays out a stand-in MATLAB tree (Linux) from the own host, with each file
# where CMake's FindMatlab and matlab_add_mex look for it, so that the MATLAB
# branch of the build can be configured, built and tested without MATLAB:
#   extern/include/mex.h                             the own host's header
#   extern/include/common/compiler.h                 the compiler shim it includes
#   bin/glnxa64/libmx.so, libmex.so                  the own host's libraries (HOST_DIR)
#   bin/mexext                                       answers "mexa64"
#   VersionInfo.xml, appdata/version.xml             release 9.14 (R2023a)
#   extern/version/c_mexapi_version.c                the interface-version source
#   extern/lib/glnxa64/c_exportsmexfileversion.map   the export map
# It proves the build logic, not compatibility with MATLAB's own headers.
# FindMatlab reads VersionInfo.xml only from a tree whose appdata/version.xml
# names the MATLAB Runtime (it would otherwise run the matlab program to ask
# for the version); the libraries are still looked up as for MATLAB.
foreach(var SOURCE_DIR HOST_DIR ROOT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MatlabStandIn.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/extern/include/common ${ROOT}/bin/glnxa64 ${ROOT}/extern/version
     ${ROOT}/extern/lib/glnxa64 ${ROOT}/appdata)
file(COPY_FILE ${SOURCE_DIR}/host/include/mex.h ${ROOT}/extern/include/mex.h)
file(COPY_FILE ${SOURCE_DIR}/common/compiler.h ${ROOT}/extern/include/common/compiler.h)
file(COPY_FILE ${HOST_DIR}/libmx.so ${ROOT}/bin/glnxa64/libmx.so)
file(COPY_FILE ${HOST_DIR}/libmex.so ${ROOT}/bin/glnxa64/libmex.so)
file(COPY_FILE ${SOURCE_DIR}/host/src/apiversion.c ${ROOT}/extern/version/c_mexapi_version.c)
file(COPY_FILE ${SOURCE_DIR}/cmake/exports-own.map ${ROOT}/extern/lib/glnxa64/c_exportsmexfileversion.map)
file(WRITE ${ROOT}/bin/mexext "#!/bin/sh\necho mexa64\n")
file(CHMOD ${ROOT}/bin/mexext PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
file(WRITE ${ROOT}/VersionInfo.xml "<?xml version=\"1.0\"?>\n<MathWorks_version_info>\n  <version>9.14.0.0</version>\n  <release>R2023a</release>\n</MathWorks_version_info>\n")
file(WRITE ${ROOT}/appdata/version.xml "<?xml version=\"1.0\"?>\n<productVersionInfo>\n  <installedProductData displayedString=\"MATLAB Runtime\" version=\"9.14\"/>\n</productVersionInfo>\n")
