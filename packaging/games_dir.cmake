# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Run by CPack on the staged package: Debian installs games in /usr/games.
file(GLOB staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/rumida"
                                      "${CPACK_TEMPORARY_DIRECTORY}/*/usr/bin/rumida")
foreach(program IN LISTS staged)
  get_filename_component(usr "${program}" DIRECTORY)
  get_filename_component(usr "${usr}" DIRECTORY)
  file(MAKE_DIRECTORY "${usr}/games")
  file(RENAME "${program}" "${usr}/games/rumida")
  file(GLOB left "${usr}/bin/*")
  if(NOT left)
    file(REMOVE_RECURSE "${usr}/bin")
  endif()
endforeach()
if(NOT staged)
  message(FATAL_ERROR "no usr/bin/rumida under ${CPACK_TEMPORARY_DIRECTORY}")
endif()
