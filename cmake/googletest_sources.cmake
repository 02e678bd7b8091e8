# GoogleTest built from the sources Debian ships (package googletest), for a build that
# finds no installed one, as a cross-build does; with the same
# GTest:: targets find_package gives.
set(VK_GTEST_SOURCE_DIR /usr/src/googletest/googletest
    CACHE PATH "GoogleTest's sources, built when no installed GoogleTest is found")
if(NOT EXISTS ${VK_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest was not found, nor its sources in ${VK_GTEST_SOURCE_DIR} "
                        "(Debian: apt-get install googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${VK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
