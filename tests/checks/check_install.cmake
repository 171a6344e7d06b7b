# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Installs the build tree into a scratch prefix and checks what a Linux desktop
# needs: the program, its menu entry and its icon, and the metainfo that
# software centres read (check_metainfo.cmake validates its content).
# cmake -DBUILD=<build dir> -DPREFIX=<scratch dir> -DAPP_ID=<AppStream id>
#       [-DVALIDATE=desktop-file-validate] -P check_install.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE rv OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rv EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(program "${PREFIX}/bin/rumida")
# The menu entry and the metainfo are named after the AppStream id.
set(entry "${PREFIX}/share/applications/${APP_ID}.desktop")
set(metainfo "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml")
set(icon "${PREFIX}/share/icons/hicolor/32x32/apps/rumida.png")
foreach(f program entry metainfo icon)
  if(NOT EXISTS "${${f}}")
    message(FATAL_ERROR "not installed: ${${f}}")
  endif()
endforeach()

file(STRINGS "${entry}" lines ENCODING UTF-8)
foreach(want "Exec=rumida" "Icon=rumida" "Name=Rumida" "Type=Application")
  list(FIND lines "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${entry} lacks ${want}")
  endif()
endforeach()

# The icon theme wants a 32 x 32 PNG: check the signature and the IHDR size.
file(READ "${icon}" png HEX LIMIT 24)
if(NOT png MATCHES "^89504e470d0a1a0a0000000d49484452")
  message(FATAL_ERROR "${icon} is not a PNG")
endif()
string(SUBSTRING "${png}" 32 16 size)
if(NOT size STREQUAL "0000002000000020")
  message(FATAL_ERROR "${icon} is not 32 x 32")
endif()

if(VALIDATE)
  execute_process(COMMAND "${VALIDATE}" "${entry}" RESULT_VARIABLE rv
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rv EQUAL 0 OR out MATCHES "error")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "program, menu entry, metainfo and icon install")
