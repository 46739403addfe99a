# The library of the current release: subsystems 2 to 9, built with hidden
# visibility; only the functions marked with the export macros are exported.
set(CARVELL_CURRENT_FOLDERS toolbox occupant vision mirror windshield envelope stone suspension)
set(CARVELL_SOURCES)
foreach(folder IN LISTS CARVELL_CURRENT_FOLDERS)
  file(GLOB folder_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND CARVELL_SOURCES ${folder_sources})
endforeach()
add_library(carvell SHARED ${CARVELL_SOURCES})
target_include_directories(carvell PUBLIC ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(carvell PUBLIC carvell_host)
set_target_properties(carvell PROPERTIES
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
