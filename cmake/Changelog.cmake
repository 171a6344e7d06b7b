# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Reads the newest entry of packaging/changelog, the project's release history
# written by hand: it must be for the version being built, and its trailer
# line gives the release date, set here as RUMIDA_RELEASE_DATE (YYYY-MM-DD).
set(rumida_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rumida_changelog})

file(STRINGS ${rumida_changelog} rumida_changelog_top LIMIT_COUNT 1)
string(REGEX MATCH "^rumida \\(([^)]*)\\)" rumida_changelog_entry "${rumida_changelog_top}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: the newest entry is for version \"${CMAKE_MATCH_1}\", "
                      "the project's version is ${PROJECT_VERSION}")
endif()

# The trailer: " -- Name <address>  Tue, 08 Dec 2026 12:00:00 +0000".
file(STRINGS ${rumida_changelog} rumida_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT rumida_changelog_trailer MATCHES "  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry has no trailer line with a date")
endif()
set(rumida_day ${CMAKE_MATCH_1})
set(rumida_year ${CMAKE_MATCH_3})
set(rumida_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND rumida_months ${CMAKE_MATCH_2} rumida_month)
if(rumida_month EQUAL -1)
  message(FATAL_ERROR "packaging/changelog: no month \"${CMAKE_MATCH_2}\" in the newest entry's date")
endif()
math(EXPR rumida_month "${rumida_month} + 1")
foreach(part rumida_month rumida_day)
  if(${part} LESS 10 AND NOT ${part} MATCHES "^0")
    set(${part} 0${${part}})
  endif()
endforeach()
set(RUMIDA_RELEASE_DATE ${rumida_year}-${rumida_month}-${rumida_day})
