# Run at install time (from packaging/CMakeLists.txt): makes the menu entries,
# the screen-saver theme and the compressed manual pages and changelog for
# CMAKE_INSTALL_PREFIX in ZUK_PACKAGING_OUT, from the templates in
# ZUK_PACKAGING_SOURCE.
set(ZUK_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(ZUK_LIBEXEC_DIR "${CMAKE_INSTALL_PREFIX}/libexec/zuk_rer1")
set(ZUK_DATA_DIR "${CMAKE_INSTALL_PREFIX}/share/zuk_rer1")
file(MAKE_DIRECTORY "${ZUK_PACKAGING_OUT}")
foreach(name zuk_rer1-setup.desktop zuk_rer1-settings.desktop zuk_rer1-theme.desktop zuk_rer1.6 zuk_rer1.ja.6)
  configure_file("${ZUK_PACKAGING_SOURCE}/${name}.in" "${ZUK_PACKAGING_OUT}/${name}" @ONLY)
endforeach()

# gzip -n leaves out the name and the time stamp: the same text gives the
# same bytes.
function(zuk_gzip from to)
  execute_process(COMMAND gzip -9 -n -c "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${from} failed")
  endif()
endfunction()
zuk_gzip("${ZUK_PACKAGING_OUT}/zuk_rer1.6" "${ZUK_PACKAGING_OUT}/zuk_rer1.6.gz")
zuk_gzip("${ZUK_PACKAGING_OUT}/zuk_rer1.ja.6" "${ZUK_PACKAGING_OUT}/zuk_rer1.ja.6.gz")
zuk_gzip("${ZUK_PACKAGING_SOURCE}/changelog" "${ZUK_PACKAGING_OUT}/changelog.gz")
