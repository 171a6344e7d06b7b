# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64. The posix-thread
# compilers: the win32 thread model of GCC 12 has no std::thread or std::mutex.
# Used both for the Qt for Windows build (scripts/build-qt-windows.sh) and for
# the game's own Windows build (make windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(RUMIDA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RUMIDA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RUMIDA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${RUMIDA_MINGW_TRIPLET}-windres)

# Libraries and headers come only from the MinGW tree (and from the prefixes
# the build adds, such as the cross Qt); programs run at build time from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RUMIDA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
