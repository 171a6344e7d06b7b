# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Checks that every file of the source tree states its copyright and licence,
# in its own header or in .reuse/dep5, with `reuse lint`.
# cmake -DREUSE=<reuse or empty> -DSOURCE=<source dir> -P check_reuse.cmake
# Without reuse installed it prints the skip message that the test's
# SKIP_REGULAR_EXPRESSION turns into a skipped test.

cmake_minimum_required(VERSION 3.25)

if(NOT REUSE)
  message(STATUS "reuse is not installed: the licence check is skipped "
                 "(scripts/install-deps.sh test installs reuse)")
  return()
endif()
execute_process(COMMAND "${REUSE}" --root "${SOURCE}" lint
                WORKING_DIRECTORY "${SOURCE}"
                RESULT_VARIABLE rv OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rv EQUAL 0)
  message(FATAL_ERROR "reuse lint (${rv}); scripts/spdx-headers.py adds missing headers:\n${out}")
endif()
message(STATUS "reuse lint:\n${out}")
