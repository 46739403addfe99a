# The library of the current release: subsystems 2 to 9, built with hidden
# visibility; only the functions marked with the export macros are exported.
# The same objects also make a static archive that the tests link, so that
# internal functions can be tested directly.
set(CARVELL_CURRENT_FOLDERS toolbox occupant vision mirror windshield envelope stone suspension)
set(CARVELL_SOURCES)
foreach(folder IN LISTS CARVELL_CURRENT_FOLDERS)
  file(GLOB folder_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND CARVELL_SOURCES ${folder_sources})
endforeach()
# The shared internal layer that every family but curves/ uses.
file(GLOB detail_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/toolbox/detail/*.cpp)
list(APPEND CARVELL_SOURCES ${detail_sources})
add_library(carvell_objects OBJECT ${CARVELL_SOURCES})
target_include_directories(carvell_objects PUBLIC ${PROJECT_SOURCE_DIR}/include)
# Families include the shared internal layer as "toolbox/detail/<name>.h".
target_include_directories(carvell_objects PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(carvell_objects PUBLIC carvell_host)
set_target_properties(carvell_objects PROPERTIES
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

add_library(carvell SHARED $<TARGET_OBJECTS:carvell_objects>)
target_include_directories(carvell PUBLIC ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(carvell PUBLIC carvell_host)

add_library(carvell_static STATIC $<TARGET_OBJECTS:carvell_objects>)
target_include_directories(carvell_static PUBLIC ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(carvell_static PUBLIC carvell_host)
