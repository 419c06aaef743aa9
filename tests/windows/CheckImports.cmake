# Fails unless every DLL that PROGRAM imports is one of ALLOWED (names without letter
# case): the wizard must start on a pre-installation image, which has only a few
# system DLLs, with nothing beside it but its own modules.
#
#   cmake -DOBJDUMP=... -DPROGRAM=... -DALLOWED=kernel32.dll,user32.dll,... -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${PROGRAM} shows no imports")
endif()
string(TOLOWER "${ALLOWED}" allowed)
string(REPLACE "," ";" allowed "${allowed}")
set(unexpected)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: *" "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST allowed)
    list(APPEND unexpected "${name}")
  endif()
endforeach()
if(unexpected)
  message(FATAL_ERROR "${PROGRAM} imports ${unexpected}, which a pre-installation image may lack")
endif()
