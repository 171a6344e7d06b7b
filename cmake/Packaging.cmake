# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The Debian package: `make package` (CPack) builds rumida_<version>_amd64.deb with
# the program, its menu entry and icons, the manual page and the Debian
# copyright file and changelog. resources/ installs the menu entry and the
# 32-pixel icon; the larger icons and the documents are installed here.
if(NOT (UNIX AND NOT APPLE) OR EMSCRIPTEN)
  return()
endif()
include(GNUInstallDirs)

# The icon at the theme's larger sizes, each pixel of the 32-pixel pixel-art
# icon repeated, never blended, by tools/icon_scale.
set(rumida_icon32 ${PROJECT_SOURCE_DIR}/resources/pictures/rumida-32.png)
set(rumida_packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(rumida_packaging_files)
foreach(size 48 256)
  set(icon ${rumida_packaging_out}/icons/${size}/rumida.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${rumida_packaging_out}/icons/${size}
    COMMAND rumida_icon_scale ${rumida_icon32} ${size} ${icon}
    DEPENDS rumida_icon_scale ${rumida_icon32}
    COMMENT "Icon at ${size} pixels"
    VERBATIM)
  list(APPEND rumida_packaging_files ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants the changelog and the manual page compressed with gzip -9n
# (no name or time stamp inside, so the package builds the same every time).
find_program(RUMIDA_GZIP gzip REQUIRED)
function(rumida_gzip source output)
  get_filename_component(name ${output} NAME_WE)
  set(plain ${rumida_packaging_out}/gz/${name})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
    COMMAND ${RUMIDA_GZIP} -9nf ${plain}
    COMMAND ${CMAKE_COMMAND} -E rename ${plain}.gz ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()
file(MAKE_DIRECTORY ${rumida_packaging_out}/gz)
# The manual page and the copyright file carry the project's version and maker.
configure_file(${PROJECT_SOURCE_DIR}/packaging/rumida.6.in ${rumida_packaging_out}/rumida.6 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${rumida_packaging_out}/copyright @ONLY)
# The changelog, whose newest entry cmake/Changelog.cmake checks against the version.
rumida_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${rumida_packaging_out}/changelog.gz)
rumida_gzip(${rumida_packaging_out}/rumida.6 ${rumida_packaging_out}/rumida.6.gz)
list(APPEND rumida_packaging_files
  ${rumida_packaging_out}/changelog.gz ${rumida_packaging_out}/rumida.6.gz)
add_custom_target(rumida_packaging_files ALL DEPENDS ${rumida_packaging_files})

# A stripped install (cmake --install --strip, and CPack, which strips) also
# drops the .comment and .note sections from the program, as Debian's dh_strip
# does: they only name the compiler versions.
find_program(RUMIDA_OBJCOPY NAMES objcopy REQUIRED)
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${RUMIDA_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/rumida\"
                    RESULT_VARIABLE rv)
    if(NOT rv EQUAL 0)
      message(FATAL_ERROR \"objcopy could not drop the .comment section of rumida\")
    endif()
  endif()")

set(rumida_docdir ${CMAKE_INSTALL_DATADIR}/doc/rumida)
install(FILES ${rumida_packaging_out}/copyright DESTINATION ${rumida_docdir})
# The version has no Debian revision, so the package is native and its
# changelog is changelog.gz.
install(FILES ${rumida_packaging_out}/changelog.gz DESTINATION ${rumida_docdir})
install(FILES ${rumida_packaging_out}/rumida.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rumida)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${RUMIDA_VENDOR}")
set(CPACK_PACKAGE_CONTACT "${RUMIDA_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "horse-race betting game in Japanese")
set(CPACK_PACKAGE_DESCRIPTION
  "Four horses race from the starting stalls to the finish line. Before each
race the player stakes yen on any of the six pairs of horses, each with its
own odds between 1 and 11; the pair of the winner and the most advanced of the
other three pays its odds. With a splash card, a photo gallery and the rules
of play, all in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The program installs to bin; the package moves it to /usr/games, where
# Debian puts games (their players have it on the PATH).
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/games_dir.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RUMIDA_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${RUMIDA_HOMEPAGE}")
# The libraries come from dpkg-shlibdeps; the Japanese font is only found at
# run time, through fontconfig.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# qt6-wayland is not recommended: without it the game runs through XWayland
# on a Wayland session, with the desktop's own frames, centred windows and
# the help and version windows out of the taskbar, as on X11. With it the
# game runs as a native Wayland client (tested, docs/wayland/), where the
# compositor places the windows, every window is listed, and on desktops
# that leave the frame to the client (GNOME, weston) Qt 6.4 draws a plain
# title bar of its own, with minimise and maximise buttons these windows do
# not have. A player who has it installed gets the native client.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
