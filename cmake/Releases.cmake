# The releases of carvell, each composed from family folders.
#
# A family folder (curves/, toolbox/, occupant/, ...) holds a CMakeLists.txt
# that declares its sources, and an exports.txt beside it:
#
#   carvell_family(<family>
#     SOURCES <file.cpp>...
#     [REPLACES_SOURCES <folder>/<file.cpp>...]
#     [REPLACES_EXPORTS <name>...])
#
# The sources are named relative to the folder, one by one (no globs). An
# older release's own folder names what it replaces in the shared folders: a
# shared source whose definitions it brings in its own form (an export whose
# steps differ, or the one internal function that a shared export calls and
# each release defines once), and the shared export rows that it drops or
# lists again in its own exports.txt (the same name in another form).
# exports.txt lists what the family exports, one export a line: the name,
# then "plain" (extern "C") or "decorated" (C++ linkage); "#" starts a
# comment.
#
# A release is a shared library made of the sources and exports of its
# folders, linked against a host library (the stand-in host, carvell_host,
# unless HOST names another). What any of its folders replaces is left out of
# the others; a release may also remove sources and exports itself:
#
#   carvell_release(<library>
#     FOLDERS <family>...
#     [HOST <host target>]
#     [HEADERS_FIRST <folder>]
#     [EVERY_NAME_PLAIN]
#     [REMOVE_SOURCES <family>/<file.cpp>...]
#     [REMOVE_EXPORTS <name>...])
#
# HEADERS_FIRST names a folder of exported headers that the release's
# sources (and whatever links the release) see before include/: a release
# whose exports keep a current name in another form declares that form
# there, so that a call written for the current form does not compile.
# EVERY_NAME_PLAIN gives the families that export decorated names plain (C)
# linkage in this release: their export macro takes its linkage from the
# release target, and their exports.txt rows count as plain.
#
# For each release, configure time writes into build/<preset>/releases/:
#   <library>.exports  the release's whole export list ("name kind" lines),
#                      which the linkage test reads;
#   <library>.map      the linker version script made from it: plain names
#                      as C symbols, decorated names matched on the demangled
#                      name up to its argument list, everything else local.
# The library is built with hidden visibility, so an export also carries its
# export macro; the version script keeps whatever else the compiler makes
# visible (template instantiations of the standard library) out of it.

# Family folders, in the order the releases list them. A new family adds its
# folder here and to the releases that hold it.
set(CARVELL_FAMILY_FOLDERS
  curves toolbox occupant vision mirror windshield envelope stone suspension release2006 release2003)

set(CARVELL_RELEASE_DIR ${PROJECT_BINARY_DIR}/releases)

# Records a family's sources (absolute paths) and its export list; called by
# the family folder's CMakeLists.txt.
function(carvell_family family)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;REPLACES_SOURCES;REPLACES_EXPORTS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "carvell_family(${family}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  set(sources)
  foreach(source IN LISTS ARG_SOURCES)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${source})
      message(FATAL_ERROR "carvell_family(${family}): no source ${source} in ${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
    # A source of another folder (an older release listing one of the
    # other's files) is kept by its plain path.
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE path)
    list(APPEND sources ${path})
  endforeach()
  set(replaced)
  foreach(source IN LISTS ARG_REPLACES_SOURCES)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${source})
      message(FATAL_ERROR "carvell_family(${family}) replaces ${source}, which does not exist")
    endif()
    list(APPEND replaced ${PROJECT_SOURCE_DIR}/${source})
  endforeach()
  set_property(GLOBAL PROPERTY CARVELL_FAMILY_${family}_REPLACED_SOURCES ${replaced})
  set_property(GLOBAL PROPERTY CARVELL_FAMILY_${family}_REPLACED_EXPORTS ${ARG_REPLACES_EXPORTS})
  set(exports ${CMAKE_CURRENT_SOURCE_DIR}/exports.txt)
  if(NOT EXISTS ${exports})
    message(FATAL_ERROR "carvell_family(${family}): no exports.txt in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${exports})
  set_property(GLOBAL PROPERTY CARVELL_FAMILY_${family}_SOURCES ${sources})
  set_property(GLOBAL PROPERTY CARVELL_FAMILY_${family}_EXPORTS ${exports})
  set_property(GLOBAL APPEND PROPERTY CARVELL_FAMILIES ${family})
endfunction()

# Reads a family's exports.txt into two lists of names, plain and decorated.
function(carvell_read_exports file plain_var decorated_var)
  file(STRINGS ${file} lines)
  set(plain)
  set(decorated)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)[ \t]+(plain|decorated)$")
      if(CMAKE_MATCH_2 STREQUAL "plain")
        list(APPEND plain ${CMAKE_MATCH_1})
      else()
        list(APPEND decorated ${CMAKE_MATCH_1})
      endif()
    else()
      message(FATAL_ERROR "${file}: \"${line}\" is not \"<name> plain|decorated\"")
    endif()
  endforeach()
  set(${plain_var} ${plain} PARENT_SCOPE)
  set(${decorated_var} ${decorated} PARENT_SCOPE)
endfunction()

# Writes the file only when its text changes, so that a new configure run
# relinks nothing.
function(carvell_write_if_changed file text)
  if(EXISTS ${file})
    file(READ ${file} old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE ${file} "${text}")
endfunction()

# The sources of the folders, less the removed ones.
function(carvell_release_sources out)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "FOLDERS;REMOVE")
  set(sources)
  foreach(family IN LISTS ARG_FOLDERS)
    get_property(family_sources GLOBAL PROPERTY CARVELL_FAMILY_${family}_SOURCES)
    list(APPEND sources ${family_sources})
  endforeach()
  foreach(removed IN LISTS ARG_REMOVE)
    set(path ${PROJECT_SOURCE_DIR}/${removed})
    if(NOT path IN_LIST sources)
      message(FATAL_ERROR "a release removes ${removed}, which none of its folders lists")
    endif()
    list(REMOVE_ITEM sources ${path})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# A release: its shared library <library> (and <library>_static, the same
# objects as an archive that the tests link so that they reach internal
# functions), its export list and its version script.
function(carvell_release library)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "EVERY_NAME_PLAIN" "HOST;HEADERS_FIRST" "FOLDERS;REMOVE_SOURCES;REMOVE_EXPORTS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "carvell_release(${library}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_HOST)
    set(ARG_HOST carvell_host)
  endif()
  get_property(declared GLOBAL PROPERTY CARVELL_FAMILIES)
  set(folders)
  foreach(family IN LISTS ARG_FOLDERS)
    if(family IN_LIST declared)
      list(APPEND folders ${family})
    endif()
  endforeach()

  # Sources: what a folder replaces is left out of the others.
  carvell_release_sources(sources FOLDERS ${folders} REMOVE ${ARG_REMOVE_SOURCES})
  foreach(family IN LISTS folders)
    get_property(replaced GLOBAL PROPERTY CARVELL_FAMILY_${family}_REPLACED_SOURCES)
    get_property(own GLOBAL PROPERTY CARVELL_FAMILY_${family}_SOURCES)
    foreach(path IN LISTS replaced)
      if(NOT path IN_LIST sources OR path IN_LIST own)
        message(FATAL_ERROR "carvell_release(${library}): ${family} replaces ${path}, which no other folder of the release lists")
      endif()
      list(REMOVE_ITEM sources ${path})
    endforeach()
  endforeach()

  # Exports: every name once, with its kind; a folder's replaced rows left
  # out of the other folders' lists, the removed ones out of all.
  set(replaced_exports)
  foreach(family IN LISTS folders)
    get_property(family_replaced GLOBAL PROPERTY CARVELL_FAMILY_${family}_REPLACED_EXPORTS)
    foreach(name IN LISTS family_replaced)
      list(APPEND replaced_exports "${family}:${name}")
    endforeach()
  endforeach()
  set(plain)
  set(decorated)
  set(replaced_found)
  foreach(family IN LISTS folders)
    get_property(exports_file GLOBAL PROPERTY CARVELL_FAMILY_${family}_EXPORTS)
    carvell_read_exports(${exports_file} family_plain family_decorated)
    foreach(entry IN LISTS replaced_exports)
      string(REPLACE ":" ";" entry "${entry}")
      list(GET entry 0 replacer)
      list(GET entry 1 name)
      if(NOT replacer STREQUAL family AND (name IN_LIST family_plain OR name IN_LIST family_decorated))
        list(REMOVE_ITEM family_plain ${name})
        list(REMOVE_ITEM family_decorated ${name})
        list(APPEND replaced_found ${name})
      endif()
    endforeach()
    list(APPEND plain ${family_plain})
    list(APPEND decorated ${family_decorated})
  endforeach()
  foreach(entry IN LISTS replaced_exports)
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 1 name)
    if(NOT name IN_LIST replaced_found)
      message(FATAL_ERROR "carvell_release(${library}) replaces the export ${name}, which no other folder lists")
    endif()
  endforeach()
  foreach(removed IN LISTS ARG_REMOVE_EXPORTS)
    if(NOT removed IN_LIST plain AND NOT removed IN_LIST decorated)
      message(FATAL_ERROR "carvell_release(${library}) removes the export ${removed}, which none of its folders lists")
    endif()
    list(REMOVE_ITEM plain ${removed})
    list(REMOVE_ITEM decorated ${removed})
  endforeach()
  if(ARG_EVERY_NAME_PLAIN)
    list(APPEND plain ${decorated})
    set(decorated)
  endif()
  set(all ${plain} ${decorated})
  list(LENGTH all count)
  list(REMOVE_DUPLICATES all)
  list(LENGTH all unique_count)
  if(NOT count EQUAL unique_count)
    message(FATAL_ERROR "carvell_release(${library}): an export is listed twice among ${folders}")
  endif()

  # The export list and the version script.
  set(list_text "")
  set(script "{\n  global:\n")
  foreach(name IN LISTS plain)
    string(APPEND list_text "${name} plain\n")
    string(APPEND script "    ${name};\n")
  endforeach()
  if(decorated)
    # A demangled name continues with "(" after the function's name; the
    # character class keeps HM_VD_foo from matching HM_VD_foobar.
    string(APPEND script "    extern \"C++\" {\n")
    foreach(name IN LISTS decorated)
      string(APPEND list_text "${name} decorated\n")
      string(APPEND script "      ${name}[!A-Za-z0-9_]*;\n")
    endforeach()
    string(APPEND script "    };\n")
  endif()
  string(APPEND script "  local: *;\n};\n")
  set(exports_file ${CARVELL_RELEASE_DIR}/${library}.exports)
  set(script_file ${CARVELL_RELEASE_DIR}/${library}.map)
  carvell_write_if_changed(${exports_file} "${list_text}")
  carvell_write_if_changed(${script_file} "${script}")

  # The objects: hidden visibility, the exported headers public, and the
  # project root private so that families include the shared internal layer
  # as "toolbox/detail/<name>.h".
  # What the objects and every user of the release compile with: its own
  # headers first, then include/, and the linkage of the decorated families.
  set(headers)
  if(ARG_HEADERS_FIRST)
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${ARG_HEADERS_FIRST})
      message(FATAL_ERROR "carvell_release(${library}): no header folder ${ARG_HEADERS_FIRST}")
    endif()
    list(APPEND headers ${PROJECT_SOURCE_DIR}/${ARG_HEADERS_FIRST})
  endif()
  list(APPEND headers ${PROJECT_SOURCE_DIR}/include)
  set(linkage)
  if(ARG_EVERY_NAME_PLAIN)
    set(linkage [[CARVELL_FAMILY_LINKAGE=extern "C"]])
  endif()

  add_library(${library}_objects OBJECT ${sources})
  target_include_directories(${library}_objects
    PUBLIC ${headers}
    PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${library}_objects PUBLIC ${linkage})
  target_link_libraries(${library}_objects PUBLIC ${ARG_HOST})
  set_target_properties(${library}_objects PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)

  add_library(${library} SHARED $<TARGET_OBJECTS:${library}_objects>)
  target_include_directories(${library} PUBLIC ${headers})
  target_compile_definitions(${library} INTERFACE ${linkage})
  target_link_libraries(${library} PUBLIC ${ARG_HOST})
  target_link_options(${library} PRIVATE "LINKER:--version-script=${script_file}")
  set_property(TARGET ${library} APPEND PROPERTY LINK_DEPENDS ${script_file})
  set_property(TARGET ${library} PROPERTY CARVELL_EXPORTS_FILE ${exports_file})
  set_property(TARGET ${library} PROPERTY CARVELL_HOST ${ARG_HOST})

  add_library(${library}_static STATIC $<TARGET_OBJECTS:${library}_objects>)
  target_include_directories(${library}_static PUBLIC ${headers})
  target_compile_definitions(${library}_static INTERFACE ${linkage})
  target_link_libraries(${library}_static PUBLIC ${ARG_HOST})

  set_property(GLOBAL APPEND PROPERTY CARVELL_RELEASES ${library})
endfunction()

foreach(folder IN LISTS CARVELL_FAMILY_FOLDERS)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt)
    add_subdirectory(${PROJECT_SOURCE_DIR}/${folder})
  endif()
endforeach()

# The current release: subsystems 2 to 9. Subsystem 1, the curve and spline
# functions, comes from the host's automotive helper library, which links the
# curves folder's objects (carvell_curves, below).
carvell_release(carvell
  FOLDERS toolbox occupant vision mirror windshield envelope stone suspension)

# The 2006 release: the same families with the curve and spline functions
# built in, and its own folder with what it replaces. It runs on a host whose
# automotive helper library has no curve functions (carvell_host2006).
carvell_release(carvell2006
  FOLDERS curves toolbox occupant vision mirror windshield envelope stone suspension release2006
  HOST carvell_host2006)

# The 2003 release: the same families with the curve and spline functions
# built in (two of them exported in 2003 forms, the others used inside), its
# own folder with what it replaces, every name plain, and its own
# declarations of the names it keeps in other forms (include/release2003).
# It runs on the 2003 host: no curve functions, the older host names.
carvell_release(carvell2003
  FOLDERS curves toolbox occupant vision mirror windshield envelope stone suspension release2003
  HOST carvell_host2003
  HEADERS_FIRST include/release2003
  EVERY_NAME_PLAIN)

# The curve and spline functions as the host builds them: the library's
# exported headers and the host's headers, nothing else of the library.
get_property(CARVELL_CURVES_SOURCES GLOBAL PROPERTY CARVELL_FAMILY_curves_SOURCES)
add_library(carvell_curves OBJECT ${CARVELL_CURVES_SOURCES})
target_include_directories(carvell_curves PRIVATE
  ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/host/include)
