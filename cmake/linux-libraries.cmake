# Linux: SDL2 through pkg-config, FLTK 1.4 through the fltk-config that
# scripts/build-linux-deps names (the system's, or a static build of its own
# in the cache outside the clone), Xlib and its extensions by name.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_link_libraries(sdl2_flags INTERFACE PkgConfig::SDL2)
target_link_libraries(x11_flags INTERFACE X11 X11-xcb xcb Xext Xrender)

execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-linux-deps
  OUTPUT_VARIABLE FLTK_CONFIG OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE fltk_result)
if(NOT fltk_result EQUAL 0)
  message(FATAL_ERROR "FLTK 1.4 could not be built (scripts/build-linux-deps)")
endif()
execute_process(COMMAND ${FLTK_CONFIG} --cxxflags OUTPUT_VARIABLE FLTK_CXXFLAGS OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${FLTK_CONFIG} --ldflags OUTPUT_VARIABLE FLTK_LDFLAGS OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(FLTK_CXXFLAGS UNIX_COMMAND "${FLTK_CXXFLAGS}")
separate_arguments(FLTK_LDFLAGS UNIX_COMMAND "${FLTK_LDFLAGS}")
# FLTK's headers are system headers: keep our warning flags off them.
foreach(flag IN LISTS FLTK_CXXFLAGS)
  if(flag MATCHES "^-I(.*)")
    target_include_directories(fltk_flags SYSTEM INTERFACE ${CMAKE_MATCH_1})
  else()
    target_compile_options(fltk_flags INTERFACE ${flag})
  endif()
endforeach()
target_link_libraries(fltk_flags INTERFACE ${FLTK_LDFLAGS})
