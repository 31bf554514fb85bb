# Install-time step of the Windows package: copies beside the programs every
# DLL they and their plugins import (read from their import tables with
# MinGW's objdump, then the DLLs those import, and so on) that is found in
# the given folders: Qt's and the compiler's. The system's own DLLs
# (KERNEL32, USER32, ...) are in none of them and stay Windows'. Names are
# matched without case, as Windows does (CMake's own resolver does not,
# when it runs on Linux).
#   cmake -DOBJDUMP=... -DDESTINATION=... -DFILES="a;b" -DDIRECTORIES="c;d" [-DSTRIP=...] -P WindowsRuntimeDlls.cmake
# (included by install(CODE) with those variables set)

function(tavo_imported_dlls out file)
  execute_process(COMMAND "${OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} could not read ${file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "DLL Name: " "" name "${line}")
    string(STRIP "${name}" name)
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Every DLL in the folders, by lower-case name.
foreach(dir IN LISTS DIRECTORIES)
  file(GLOB dlls "${dir}/*.dll" "${dir}/*.DLL")
  foreach(dll IN LISTS dlls)
    get_filename_component(name "${dll}" NAME)
    string(TOLOWER "${name}" key)
    if(NOT DEFINED found_${key})
      set(found_${key} "${dll}")
    endif()
  endforeach()
endforeach()

set(pending ${FILES})
set(copied "")
set(installed "")
while(pending)
  list(POP_FRONT pending file)
  tavo_imported_dlls(imports "${file}")
  foreach(name IN LISTS imports)
    string(TOLOWER "${name}" key)
    list(FIND copied "${key}" seen)
    if(DEFINED found_${key} AND seen EQUAL -1)
      list(APPEND copied "${key}")
      list(APPEND pending "${found_${key}}")
      file(INSTALL DESTINATION "${DESTINATION}" TYPE SHARED_LIBRARY FILES "${found_${key}}")
      get_filename_component(name "${found_${key}}" NAME)
      list(APPEND installed "${DESTINATION}/${name}")
    endif()
  endforeach()
endwhile()
if(NOT copied)
  message(FATAL_ERROR "No DLL of Qt or of the compiler was found for ${FILES}")
endif()

# A stripped install (cpack's packages) leaves the debugging sections out of
# these DLLs and the plugins too: the compiler's C++ runtime alone is 23 MB
# with them and 4 MB without.
if(CMAKE_INSTALL_DO_STRIP AND STRIP)
  file(GLOB plugins "${DESTINATION}/platforms/*.dll" "${DESTINATION}/styles/*.dll")
  list(APPEND installed ${plugins})
  foreach(dll IN LISTS installed)
    execute_process(COMMAND "${STRIP}" --strip-debug "${dll}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${STRIP} could not strip ${dll}")
    endif()
  endforeach()
endif()
