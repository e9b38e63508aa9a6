# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: GCC with
# POSIX threads, so std::thread and std::mutex work).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DBRENNIX_WIN_DEPS="$(tools/windows-deps.sh)"
#
# BRENNIX_WIN_DEPS (or the environment variable of that name) is the prefix tools/windows-deps.sh
# builds GoogleTest, libpng and wxWidgets for Windows into; without it only the compiler's own
# libraries are found. Programs are linked statically (libgcc, libstdc++, winpthread, zlib), so
# an .exe runs with no DLL beside it. Tests run under Wine, in a Wine prefix of the build folder.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRENNIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRENNIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRENNIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRENNIX_MINGW_TRIPLE}-windres)

if(NOT BRENNIX_WIN_DEPS AND DEFINED ENV{BRENNIX_WIN_DEPS})
  set(BRENNIX_WIN_DEPS "$ENV{BRENNIX_WIN_DEPS}")
endif()
set(BRENNIX_WIN_DEPS "${BRENNIX_WIN_DEPS}" CACHE PATH
    "Prefix of the Windows libraries built by tools/windows-deps.sh")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRENNIX_WIN_DEPS)

# Libraries, headers and CMake packages come only from the dependency prefix and the compiler's
# own tree, never from the Linux system; programs (wx-config, Wine) come from the Linux system.
set(CMAKE_FIND_ROOT_PATH ${BRENNIX_WIN_DEPS} /usr/${BRENNIX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(BRENNIX_WIN_DEPS)
  list(APPEND CMAKE_PREFIX_PATH ${BRENNIX_WIN_DEPS})
  # The prefix's own settings (where wx-config is), written last by tools/windows-deps.sh.
  if(NOT EXISTS ${BRENNIX_WIN_DEPS}/brennix-windows-deps.cmake)
    message(FATAL_ERROR "${BRENNIX_WIN_DEPS} is not a complete dependency prefix: run tools/windows-deps.sh")
  endif()
  include(${BRENNIX_WIN_DEPS}/brennix-windows-deps.cmake)
endif()

# MinGW ships zlib both as a DLL import library and as a static one: take the static one.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and gtest_discover_tests run the .exe files under Wine, quietly, in the build folder's
# own Wine prefix (tools/windows.sh prepares it so that tests start at once).
find_program(BRENNIX_WINE NAMES wine wine64)
if(BRENNIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${BRENNIX_WINE})
endif()
