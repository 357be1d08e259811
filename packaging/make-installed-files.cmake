# Run at install time (from packaging/CMakeLists.txt): makes the menu entries,
# the screen-saver theme and the compressed manual pages and changelog for
# CMAKE_INSTALL_PREFIX in ZUK_PACKAGING_OUT, from the templates in
# ZUK_PACKAGING_SOURCE.
set(ZUK_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(ZUK_LIBEXEC_DIR "${CMAKE_INSTALL_PREFIX}/libexec/zuk_rer1")
set(ZUK_DATA_DIR "${CMAKE_INSTALL_PREFIX}/share/zuk_rer1")
file(MAKE_DIRECTORY "${ZUK_PACKAGING_OUT}")

# The menu entries speak the build's languages (ZUK_PO_FILES): msgfmt
# --desktop adds each catalogue's translations of the template's texts,
# which are the Japanese ones. They become the entry's [ja] texts, and the
# English ones the texts of every language without its own.
set(podir "${ZUK_PACKAGING_OUT}/po")
file(MAKE_DIRECTORY "${podir}")
set(linguas "")
foreach(po IN LISTS ZUK_PO_FILES)
  get_filename_component(language "${po}" NAME_WE)
  configure_file("${po}" "${podir}/${language}.po" COPYONLY)
  string(APPEND linguas "${language}\n")
endforeach()
file(WRITE "${podir}/LINGUAS" "${linguas}")
function(zuk_translate_entry template out)
  execute_process(COMMAND msgfmt --desktop "--template=${template}" -d "${podir}" -o "${out}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "msgfmt --desktop failed on ${template}")
  endif()
  file(READ "${out}" text)
  foreach(key Name GenericName Comment Keywords)
    if("${text}" MATCHES "\n${key}\\[en\\]=([^\n]*)")
      set(english "${CMAKE_MATCH_1}")
      string(REGEX REPLACE "\n${key}=([^\n]*)" "\n${key}=${english}\n${key}[ja]=\\1" text "${text}")
    endif()
  endforeach()
  file(WRITE "${out}" "${text}")
endfunction()
foreach(name zuk_rer1-setup.desktop zuk_rer1-settings.desktop zuk_rer1-theme.desktop)
  zuk_translate_entry("${ZUK_PACKAGING_SOURCE}/${name}.in" "${ZUK_PACKAGING_OUT}/${name}.in")
  configure_file("${ZUK_PACKAGING_OUT}/${name}.in" "${ZUK_PACKAGING_OUT}/${name}" @ONLY)
endforeach()
set(pages zuk_rer1.6)
foreach(language IN LISTS ZUK_MAN_LANGUAGES)
  list(APPEND pages zuk_rer1.${language}.6)
endforeach()
foreach(name IN LISTS pages)
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
foreach(name IN LISTS pages)
  zuk_gzip("${ZUK_PACKAGING_OUT}/${name}" "${ZUK_PACKAGING_OUT}/${name}.gz")
endforeach()
zuk_gzip("${ZUK_PACKAGING_SOURCE}/changelog" "${ZUK_PACKAGING_OUT}/changelog.gz")
