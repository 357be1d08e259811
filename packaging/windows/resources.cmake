# The Windows program's resources, compiled into zuk_rer1 (included from
# src/ after the target): string 1 "zuk_rer1" (the name Screen Saver
# Settings lists), the icon the data generator makes, the version and the
# manifest (per-monitor DPI awareness, supported Windows, UTF-8 code page).
set(ZUK_RESOURCE_DIR ${PROJECT_BINARY_DIR}/packaging/windows)
set(ZUK_DATA_DIR ${PROJECT_BINARY_DIR}/data)
configure_file(${CMAKE_CURRENT_LIST_DIR}/zuk_rer1.manifest.in ${ZUK_RESOURCE_DIR}/zuk_rer1.manifest @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/zuk_rer1.rc.in ${ZUK_RESOURCE_DIR}/zuk_rer1.rc @ONLY)
target_sources(zuk_rer1 PRIVATE ${ZUK_RESOURCE_DIR}/zuk_rer1.rc)
set_source_files_properties(${ZUK_RESOURCE_DIR}/zuk_rer1.rc PROPERTIES
  OBJECT_DEPENDS "${ZUK_DATA_DIR}/icon.ico;${ZUK_RESOURCE_DIR}/zuk_rer1.manifest")
add_dependencies(zuk_rer1 zuk_data)
