# What an installation holds beside the programs (manual pages, bash completions, the
# package's documents) and the Debian package, from the same install rules that
# scripts/install uses. Included from the top level once every program is defined.

set(VK_PACKAGE_NAME korvel-sensor-tools)
set(VK_PACKAGE_MAINTAINER "Korvel sensor tools team <sensor-tools@korvel.example>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")
set(VK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${VK_PACKAGE_NAME})
set(VK_MAN_DIR ${CMAKE_BINARY_DIR}/man)

find_program(VK_GZIP gzip)
# The pages are made by running the programs, which a cross build cannot.
set(VK_MANUAL_PAGES OFF)
if(VK_GZIP AND NOT CMAKE_CROSSCOMPILING)
    set(VK_MANUAL_PAGES ON)
    add_executable(make_manual_page ${CMAKE_CURRENT_LIST_DIR}/make_manual_page.cpp)
    vk_warnings(make_manual_page)
endif()

set(VK_GZIP_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/gzip_file.cmake)
function(vk_gzip_command input output)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -DGZIP=${VK_GZIP} -DINPUT=${input}
                               -DOUTPUT=${output} -P ${VK_GZIP_SCRIPT}
                       DEPENDS ${input} ${VK_GZIP_SCRIPT}
                       VERBATIM)
endfunction()

# The manual page of `target` in section 1: synopsis, description, commands and options
# from the program's own --help and --version, so the page follows them; what --help does
# not say (port names, files, exit status, examples) from the include file `include`
# beside the program (see make_manual_page.cpp).
function(vk_manual_page target include)
    if(NOT VK_MANUAL_PAGES OR NOT TARGET ${target})
        return()
    endif()
    set(page ${VK_MAN_DIR}/${target}.1)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${VK_MAN_DIR}
                       COMMAND make_manual_page $<TARGET_FILE:${target}>
                               ${PROJECT_SOURCE_DIR}/${include} ${page}
                       DEPENDS make_manual_page ${target} ${PROJECT_SOURCE_DIR}/${include}
                       COMMENT "Manual page ${target}(1)"
                       VERBATIM)
    vk_gzip_command(${page} ${page}.gz)
    add_custom_target(${target}_manual_page ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

vk_manual_page(vkctl cli/vkctl.1.include)
vk_manual_page(vksim sim/vksim.1.include)
vk_manual_page(VkUtil util_app/VkUtil.1.include)
vk_manual_page(SetupVk2 legacy_tool/SetupVk2.1.include)

# Completions take their commands and options from the programs at completion time.
foreach(pair vkctl:cli vksim:sim)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 program)
    list(GET pair 1 dir)
    if(TARGET ${program})
        install(FILES ${PROJECT_SOURCE_DIR}/${dir}/${program}.bash-completion
                DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
                RENAME ${program})
    endif()
endforeach()

# The package's copyright and changelog, whose newest entry names this version.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^${VK_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
    message(WARNING "packaging/changelog has no entry for version ${PROJECT_VERSION} at its top")
endif()
if(VK_GZIP)
    set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
    vk_gzip_command(${CMAKE_CURRENT_LIST_DIR}/changelog ${changelog})
    add_custom_target(package_changelog ALL DEPENDS ${changelog})
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${changelog} DESTINATION ${VK_DOC_DIR})
endif()

# The Debian package (scripts/package). Its dependencies come from the libraries the
# programs link (dpkg-shlibdeps); Recommends names what only a feature needs at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VK_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Korvel)
set(CPACK_PACKAGE_CONTACT ${VK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The desktop entries are written at install time with the program's path, which must be
# /usr/bin, not the folder the package is put together in.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SVG support draws the programs' icons and most themes' toolbar pictures; an icon theme
# gives VkUtil's toolbar its pictures (else it draws letter tiles); bash-completion loads
# the completions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libqt6svg6, adwaita-icon-theme | breeze-icon-theme, bash-completion")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "set-up and service tools for Korvel laser range sensors
With these tools a technician sets up, tests and services Korvel's single-point
laser range sensors over an RS-232 or RS-485 line: VkUtil, the multi-model
utility (VKT02, VKT04, VKT04 Vezir Orududu, Rmx Short, Rmx Long); SetupVk2,
the single-form VKT02 tool; vkctl, the same commands from the command line for
scripts and test stations; and vksim, simulated sensors on a pseudo-terminal
for training and trials without a sensor.")
include(CPack)
