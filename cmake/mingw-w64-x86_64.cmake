# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads,
# so std::thread and GoogleTest's threads work), linking everything
# statically: the program needs no DLL beside it.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# ZUK_WINDOWS_PREFIX: the folders where scripts/build-windows-deps installed
# the cross-built SDL2, FLTK and GoogleTest (default: those it listed in
# BUILD/deps/prefixes, else BUILD/deps/prefix).
# Test programs run under Wine through scripts/wine-run, with the Wine
# prefix ZUK_WINE_PREFIX (default BUILD/wine).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZUK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZUK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZUK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZUK_MINGW}-windres)
# CMake cannot derive the binutils' names from "-posix" compiler names.
set(CMAKE_AR ${ZUK_MINGW}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${ZUK_MINGW}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${ZUK_MINGW}-strip CACHE FILEPATH "")

# try_compile projects read this file again in a folder of their own: hand
# them the outer project's choices.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZUK_WINDOWS_PREFIX ZUK_WINE_PREFIX)
if(NOT ZUK_WINDOWS_PREFIX AND EXISTS ${CMAKE_BINARY_DIR}/deps/prefixes)
  file(STRINGS ${CMAKE_BINARY_DIR}/deps/prefixes ZUK_WINDOWS_PREFIX)
elseif(NOT ZUK_WINDOWS_PREFIX)
  set(ZUK_WINDOWS_PREFIX ${CMAKE_BINARY_DIR}/deps/prefix)
endif()
if(NOT ZUK_WINE_PREFIX)
  set(ZUK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
endif()

set(CMAKE_FIND_ROOT_PATH ${ZUK_WINDOWS_PREFIX} /usr/${ZUK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Only static archives exist in the prefix; never pick an import library.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# add_test of a Windows program runs it under Wine.
get_filename_component(ZUK_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZUK_SOURCE_ROOT}/scripts/wine-run ${ZUK_WINE_PREFIX})
