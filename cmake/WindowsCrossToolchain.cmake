# Windows x86-64 from Linux with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: the variant with
# the C++ threads the MIDI ports and the tests use). Programs are linked statically, so that they
# run without the compiler's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Headers, libraries and CMake packages only from the Windows side, programs only from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# The programs built here run under Wine (Debian's wine64): the tests, and the listing of their
# test cases, which therefore happens when the tests run, never while building. Each run is quiet,
# uses a Wine prefix of its own in the build folder, reads and writes file names as UTF-8, and
# does not try to install Mono or Gecko into a new prefix (there is no network to fetch them).
set(SONGLOADER_WINE /usr/lib/wine/wine64)
if(EXISTS ${SONGLOADER_WINE})
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEDEBUG=-all
        WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix LC_ALL=C.UTF-8
        ${SONGLOADER_WINE})
endif()
