# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The Japanese font the web page's program carries (see subset-font.py),
# made from Debian's IPA proportional Gothic at build time and compiled into
# the program as :/fonts/rumida-gothic.ttf. RUMIDA_WEB_FONT names another
# TrueType font to take it from.
set(RUMIDA_WEB_FONT /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
    CACHE FILEPATH "The TrueType font the web page's Japanese font is made from")

function(rumida_web_font target)
  find_program(RUMIDA_HOST_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
  set(font ${PROJECT_BINARY_DIR}/web/font/rumida-gothic.ttf)
  # Every source file of the game: the characters its texts use.
  set(folders race windows platform)
  set(sources)
  foreach(folder IN LISTS folders)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
  endforeach()
  list(TRANSFORM folders PREPEND ${PROJECT_SOURCE_DIR}/)
  add_custom_command(OUTPUT ${font}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/web/font
    COMMAND ${RUMIDA_HOST_PYTHON} ${PROJECT_SOURCE_DIR}/web/font/subset-font.py
            ${RUMIDA_WEB_FONT} ${font} ${folders}
    DEPENDS ${PROJECT_SOURCE_DIR}/web/font/subset-font.py ${RUMIDA_WEB_FONT} ${sources}
    COMMENT "Making the web page's Japanese font"
    VERBATIM)
  set_source_files_properties(${font} PROPERTIES QT_RESOURCE_ALIAS rumida-gothic.ttf)
  # Compressed by the page's gzip and brotli, not by rcc.
  qt_add_resources(${target} "webfont" PREFIX "/fonts" OPTIONS --no-compress FILES ${font})
endfunction()
