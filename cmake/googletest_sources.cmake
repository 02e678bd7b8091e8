# GoogleTest built from its sources (Debian ships them in the package googletest) for a
# build that finds no installed GoogleTest, as a cross-build does. GoogleTest's own
# CMake gives the same GTest::gtest and GTest::gtest_main targets as find_package.
set(VK_GTEST_SOURCE_DIR /usr/src/googletest/googletest
    CACHE PATH "GoogleTest's sources, built when no installed GoogleTest is found")
if(NOT EXISTS ${VK_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest was not found, nor its sources in ${VK_GTEST_SOURCE_DIR} "
                        "(Debian: apt-get install googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
