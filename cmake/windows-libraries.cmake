# Windows (cross-built with cmake/mingw-w64-x86_64.cmake): the static SDL2,
# FLTK and GoogleTest that scripts/build-windows-deps installed in
# ZUK_WINDOWS_PREFIX. Never fltk-config: the host's would be found, and the
# cross one leaves FLTK's own image libraries out.
find_package(SDL2 CONFIG REQUIRED)
# The program has its own entry point; SDL must not replace main.
target_link_libraries(sdl2_flags INTERFACE SDL2::SDL2-static)
target_compile_definitions(sdl2_flags INTERFACE SDL_MAIN_HANDLED)

find_package(FLTK CONFIG REQUIRED)
target_include_directories(fltk_flags SYSTEM INTERFACE ${FLTK_INCLUDE_DIRS})
target_link_libraries(fltk_flags INTERFACE fltk::fltk gdi32 ole32 uuid comctl32 ws2_32)
