# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Compiles the generated Windows resource script with windres and checks what
# lands in the program file: the version block's strings and language, the
# fixed version numbers, and both icon images byte for byte.
# cmake -DWINDRES=... -DCPP=... -DRC=<build>/resources/rumida.rc
#       -DRESOURCES=<source>/resources -DVERSION=<project version> -DVENDOR=<maker>
#       -DOUT=.../rumida.res -P check_rc.cmake
# The script names its icon relative to the source resources/ folder.

set(pre)
if(CPP)
  # windres defaults to the MinGW gcc as its preprocessor; the host's cpp does as well.
  set(pre "--preprocessor=${CPP}" "--preprocessor-arg=-DRC_INVOKED")
endif()
execute_process(
  COMMAND "${WINDRES}" ${pre} -I "${RESOURCES}" -O res "${RC}" -o "${OUT}"
  RESULT_VARIABLE rv ERROR_VARIABLE err)
if(NOT rv EQUAL 0)
  message(FATAL_ERROR "windres failed (${rv}): ${err}")
endif()
file(READ "${OUT}" res HEX)

function(utf16 text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

function(expect hex what)
  string(TOLOWER "${hex}" hex)
  string(FIND "${res}" "${hex}" at)
  # A hex string found at an odd offset would straddle two bytes.
  while(at GREATER -1)
    math(EXPR odd "${at} % 2")
    if(odd EQUAL 0)
      return()
    endif()
    math(EXPR next "${at} + 1")
    string(SUBSTRING "${res}" ${next} -1 rest)
    string(FIND "${rest}" "${hex}" at2)
    if(at2 EQUAL -1)
      break()
    endif()
    math(EXPR at "${next} + ${at2}")
  endwhile()
  message(FATAL_ERROR "not in the compiled resources: ${what}")
endfunction()

foreach(pair "ProductName=Rumida" "FileVersion=${VERSION}" "ProductVersion=${VERSION}"
             "CompanyName=${VENDOR}")
  string(REPLACE "=" ";" kv "${pair}")
  list(GET kv 0 key)
  list(GET kv 1 value)
  utf16("${key}" k)
  utf16("${value}" v)
  # The value follows its key's terminating zero and the padding to 32 bits.
  string(REGEX MATCH "${k}0000(0000)?${v}0000" hit "${res}")
  if(NOT hit)
    message(FATAL_ERROR "version string ${key} is not \"${value}\"")
  endif()
endforeach()
utf16("041104B0" block)
expect("${block}" "string table 041104B0 (Japanese, Unicode)")
utf16("Translation" tr)
# Translation: language 0x0411, code page 1200, as two little-endian words.
string(REGEX MATCH "${tr}0000(0000)?1104b004" hit "${res}")
if(NOT hit)
  message(FATAL_ERROR "Translation is not 0x411, 1200")
endif()
# VS_FIXEDFILEINFO: signature, structure version, then file and product version
# as two little-endian 32-bit words each: major << 16 | minor, patch << 16 | tweak,
# missing parts 0 ("1.00" is 1,0,0,0).
string(REPLACE "." ";" parts "${VERSION}.0.0.0")
list(SUBLIST parts 0 4 parts)
set(numbers)
foreach(part IN LISTS parts)
  math(EXPR number "${part}")
  list(APPEND numbers ${number})
endforeach()
function(le32 high low out)
  math(EXPR word "(${high} << 16) | ${low}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${word}" 2 -1 word)
  string(LENGTH "${word}" len)
  while(len LESS 8)
    string(PREPEND word 0)
    math(EXPR len "${len} + 1")
  endwhile()
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" word "${word}")
  set(${out} "${word}" PARENT_SCOPE)
endfunction()
list(GET numbers 0 major)
list(GET numbers 1 minor)
list(GET numbers 2 patch)
list(GET numbers 3 tweak)
le32(${major} ${minor} ms)
le32(${patch} ${tweak} ls)
string(JOIN "," commas ${numbers})
expect("bd04effe00000100${ms}${ls}${ms}${ls}" "fixed file and product version ${commas}")

# Both icon images of the icon file, unchanged.
file(READ "${RESOURCES}/pictures/rumida.ico" ico HEX)
string(SUBSTRING "${ico}" 8 4 count_hex)
string(SUBSTRING "${count_hex}" 0 2 count)
math(EXPR count "0x${count}")
if(NOT count EQUAL 2)
  message(FATAL_ERROR "the icon file holds ${count} images, not 2")
endif()
foreach(i RANGE 1)
  math(EXPR entry "(6 + 16 * ${i}) * 2")
  math(EXPR size_at "${entry} + 16")
  math(EXPR offset_at "${entry} + 24")
  foreach(field size offset)
    string(SUBSTRING "${ico}" ${${field}_at} 8 le)
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" be "${le}")
    math(EXPR ${field} "0x${be}")
  endforeach()
  math(EXPR from "${offset} * 2")
  math(EXPR len "${size} * 2")
  string(SUBSTRING "${ico}" ${from} ${len} image)
  expect("${image}" "icon image ${i}")
endforeach()
message(STATUS "version block and icon images present in ${OUT}")
