# The one list of the build's languages: Japanese, the program's own, and
# one for each message catalogue po/<language>.po. Everything that comes in
# one file per language follows it: the catalogues compiled into the program
# (catalogues.cmake), the readmes (data/readme/<language>.txt, English for a
# language without one), the install lists, the package, the Windows zip,
# the menu entries' translations and the tests.
file(GLOB ZUK_PO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
set(ZUK_LANGUAGES ja)
set(ZUK_README_NAMES readme.txt)
foreach(po IN LISTS ZUK_PO_FILES)
  get_filename_component(language ${po} NAME_WE)
  list(APPEND ZUK_LANGUAGES ${language})
  list(APPEND ZUK_README_NAMES readme_${language}.txt)
endforeach()
file(GLOB ZUK_README_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/readme/*.txt)
# The windows' font: every character of a readme must be one it draws.
set(ZUK_DIALOG_FONT /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf CACHE FILEPATH "IPA P Gothic, the windows' font")
