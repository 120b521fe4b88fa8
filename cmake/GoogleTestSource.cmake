# GoogleTest for a cross build, compiled from Debian's sources (package
# googletest) with the build's own toolchain: the build machine's libgtest
# is for the build machine.
set(GRIDMEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${GRIDMEX_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources at ${GRIDMEX_GTEST_SOURCE} (Debian package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Its CMake project defines GTest::gtest_main, as find_package(GTest) does.
add_subdirectory(${GRIDMEX_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
