# Checks the folder rules of src/ and tests/: which folder may include which,
# and where Qt may appear. Run in script mode by the check_layering target.
#
#  - plain logic (src/<folder>/*.h|cpp): no Qt header at all, no qt/ header;
#  - src/<folder>/paint/: Qt GUI painting only (QImage, QPainter, ...), no widgets;
#  - src/<folder>/qt/: Qt widgets allowed;
#  - a quoted include reaches the file the compiler finds: beside the
#    including file first ("../app/AppState.h", "qt/Dialog.h"), else under the
#    include roots ("app/AppState.h"). The folder it reaches must be one the
#    including folder may depend on;
#  - tests/<folder>/ may reach what src/<folder> may, in src/ and in tests/,
#    besides tests/support and the sample generator; tests/robustness feeds
#    hostile files to the image model through tavo-cli (cli). tests/support
#    serves every test folder;
#  - fuzz/ reaches the plain logic of src/ only (no Qt, no qt/ or paint/ header).

set(allowed_common "common")
set(allowed_tables "common;tables;rom")
set(allowed_rom "common;rom;tables")
set(allowed_viewer "common;viewer;rom;tables")
set(allowed_link "common;link")
set(allowed_logging "common;logging;link")
set(allowed_analysis "common;analysis;rom;tables;viewer")
set(allowed_review "common;review;logging;link;rom;tables;viewer")
set(allowed_live "common;live;rom;tables;viewer;link;logging;review")
set(allowed_app "common;app;rom;tables;viewer;link;logging;analysis;review;live")
set(allowed_cli "common;cli;rom;tables;viewer;analysis;link;logging;review")

set(tested_robustness "cli")
set(allowed_support "common;tables;rom;viewer;link;logging;analysis;review;live;app;cli")

set(paint_allowed_regex "^(QImage|QPainter|QPen|QColor|QBrush|QPoint|QPointF|QRect|QLine|QString|QByteArray|QtGui/.*|QtCore/.*)$")

# The file a quoted include of `includer` reaches, relative to SOURCE_DIR, or
# "" when there is none (a generated header).
function(resolve_include out includer header)
  get_filename_component(dir "${SOURCE_DIR}/${includer}" DIRECTORY)
  set(roots "${dir}" "${SOURCE_DIR}/src")
  if(includer MATCHES "^tests/")
    list(APPEND roots "${SOURCE_DIR}/tests" "${SOURCE_DIR}/tools/samplegen")
  endif()
  foreach(root IN LISTS roots)
    get_filename_component(candidate "${header}" ABSOLUTE BASE_DIR "${root}")
    if(EXISTS "${candidate}" AND NOT IS_DIRECTORY "${candidate}")
      file(RELATIVE_PATH reached "${SOURCE_DIR}" "${candidate}")
      set(${out} "${reached}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp"
     "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tests/*.cpp")
set(problems "")
foreach(rel IN LISTS sources)
  string(REPLACE "/" ";" parts "${rel}")
  list(GET parts 0 area)
  list(GET parts 1 folder)
  list(LENGTH parts depth)
  set(kind "logic")
  if(depth GREATER 3)
    list(GET parts 2 sub)
    if(sub STREQUAL "qt" OR sub STREQUAL "paint")
      set(kind "${sub}")
    endif()
  endif()
  # The folder whose rules apply: a test folder follows the folder it tests.
  set(rules "${folder}")
  if(area STREQUAL "tests" AND DEFINED tested_${folder})
    set(rules "${tested_${folder}}")
  endif()
  if(NOT DEFINED allowed_${rules})
    string(APPEND problems "\n  ${rel}: ${area}/${folder} is not a known folder")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${rel}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[^>]*)>")
      set(header "${CMAKE_MATCH_1}")
      if(area STREQUAL "src" AND kind STREQUAL "logic")
        string(APPEND problems "\n  ${rel}: logic must not include Qt (<${header}>)")
      elseif(area STREQUAL "src" AND kind STREQUAL "paint" AND NOT header MATCHES "${paint_allowed_regex}")
        string(APPEND problems "\n  ${rel}: painting code may use Qt GUI only (<${header}>)")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      resolve_include(reached "${rel}" "${CMAKE_MATCH_1}")
      if(reached STREQUAL "" OR reached MATCHES "^tools/samplegen/")
        continue()
      endif()
      string(REPLACE "/" ";" target_parts "${reached}")
      list(GET target_parts 0 target_area)
      list(GET target_parts 1 target)
      if(area STREQUAL "src" AND NOT target_area STREQUAL "src")
        string(APPEND problems "\n  ${rel}: src may not include ${reached}")
        continue()
      endif()
      if(area STREQUAL "tests" AND target_area STREQUAL "tests" AND target STREQUAL "support")
        continue()
      endif()
      list(FIND allowed_${rules} "${target}" found)
      if(found EQUAL -1)
        string(APPEND problems "\n  ${rel}: ${area}/${folder} may not depend on ${target_area}/${target} (${reached})")
      endif()
      if(area STREQUAL "src" AND kind STREQUAL "logic" AND reached MATCHES "^src/[^/]+/qt/")
        string(APPEND problems "\n  ${rel}: logic must not include a Qt dialog (${reached})")
      endif()
    endif()
  endforeach()
endforeach()
# fuzz/: the fuzz targets reach the plain logic of every src/ folder and the
# generators under tools/, never Qt, a dialog or a painter.
file(GLOB fuzz_sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/fuzz/*.h" "${SOURCE_DIR}/fuzz/*.cpp")
foreach(rel IN LISTS fuzz_sources)
  file(STRINGS "${SOURCE_DIR}/${rel}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[^>]*)>")
      string(APPEND problems "\n  ${rel}: fuzz targets must not include Qt (<${CMAKE_MATCH_1}>)")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      resolve_include(reached "${rel}" "${CMAKE_MATCH_1}")
      if(reached MATCHES "^src/[^/]+/(qt|paint)/")
        string(APPEND problems "\n  ${rel}: fuzz targets must not include a dialog or a painter (${reached})")
      endif()
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Folder rules broken:${problems}")
endif()
