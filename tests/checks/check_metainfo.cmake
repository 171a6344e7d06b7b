# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Validates the AppStream metainfo as software centres read it: the file alone,
# then the installed tree, where the metainfo must find its menu entry.
# cmake -DBUILD=<build dir> -DPREFIX=<scratch dir> -DAPPSTREAMCLI=... -DAPP_ID=<id> -P check_metainfo.cmake
#
# Both runs are pedantic and offline (the screenshots' addresses are not
# fetched). Any error, warning, info or pedantic note fails, except two notes
# about the id itself, which is the project's reverse-DNS name under its
# domain rumida.example: "example" is a top-level domain reserved for such
# names (RFC 2606) that the validator does not know, and the capital R
# follows the usual form of application ids (org.gnome.Nautilus), which the
# AppStream format allows and the validator only remarks on.

cmake_minimum_required(VERSION 3.25)

set(accepted "cid-maybe-not-rdns ${APP_ID}" "cid-contains-uppercase-letter ${APP_ID}")

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}/usr"
                RESULT_VARIABLE rv OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rv EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()
set(metainfo "${PREFIX}/usr/share/metainfo/${APP_ID}.metainfo.xml")
if(NOT EXISTS "${metainfo}")
  message(FATAL_ERROR "not installed: ${metainfo}")
endif()

function(validate)
  string(JOIN " " what ${ARGN})
  execute_process(COMMAND "${APPSTREAMCLI}" ${ARGN} --no-net --pedantic --no-color
                  RESULT_VARIABLE rv OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message(STATUS "appstreamcli ${what}:\n${out}")
  if(NOT rv EQUAL 0)
    message(FATAL_ERROR "appstreamcli ${what} failed (${rv})")
  endif()
  # Issue lines read "<E|W|I|P>: <id>:<line>: <tag> [<detail>]".
  string(REPLACE "\n" ";" lines "${out}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^ *([EWIP]): [^ ]+: (.*)$")
      list(FIND accepted "${CMAKE_MATCH_2}" at)
      if(at EQUAL -1)
        message(FATAL_ERROR "appstreamcli ${what}: ${line}")
      endif()
    endif()
  endforeach()
endfunction()

validate(validate "${metainfo}")
validate(validate-tree "${PREFIX}")
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "metainfo valid and linked to its menu entry")
