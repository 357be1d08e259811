# The message catalogues, po/<language>.po, compiled into the program: each
# file's text goes into a C++ source as it is, read at run time by the same
# reader on every platform. Adding a language is adding its .po file
# (languages.cmake lists them).
set(ZUK_CATALOGUE_SOURCE ${PROJECT_BINARY_DIR}/generated/catalogue_files.cpp)
set(source "// Written by the build from po/*.po.\n#include \"base/catalogue.h\"\n\n")
string(APPEND source "const CatalogueFile kCatalogueFiles[] = {\n")
set(count 0)
foreach(po IN LISTS ZUK_PO_FILES)
  get_filename_component(language ${po} NAME_WE)
  file(READ ${po} text)
  string(FIND "${text}" ")zukpo\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${po} holds the end of the raw string that carries it")
  endif()
  string(APPEND source "    {\"${language}\", R\"zukpo(${text})zukpo\"},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  string(APPEND source "    {\"\", \"\"},\n")
endif()
string(APPEND source "};\nconst size_t kCatalogueFileCount = ${count};\n")
# Written only when it changes, so that a new configure rebuilds nothing.
file(WRITE ${ZUK_CATALOGUE_SOURCE}.new "${source}")
configure_file(${ZUK_CATALOGUE_SOURCE}.new ${ZUK_CATALOGUE_SOURCE} COPYONLY)
