# A cross-build for Windows runs its test programs under Wine (Debian: wine64), each in
# this build's own Wine prefix (see wine_run.sh). Without Wine they are built, not run.
find_program(VK_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(VK_WINE)
    set(VK_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
    set(VK_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VK_WINE_RUN} ${VK_WINE_DIR})
else()
    message(STATUS "Wine not found: the Windows tests are built, not run")
endif()
