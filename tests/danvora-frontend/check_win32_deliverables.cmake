# Checks Danvora.dll as Windows sees it (MODE=exports), or runs
# danvora-cli.exe under wine (MODE=cli; says "cannot run on this machine" when
# the launcher cannot start the build's programs).
#   BIN: the build's bin folder, DATA: tests/data/frontend, WORK: a scratch
#   folder, WINE_RUN: the build's wine launcher, OBJDUMP: the build's objdump.
if(NOT OBJDUMP)
  find_program(OBJDUMP NAMES i686-w64-mingw32-objdump objdump REQUIRED)
endif()
set(failures "")

if(MODE STREQUAL "exports")
execute_process(COMMAND ${OBJDUMP} -p ${BIN}/Danvora.dll
                OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump -p ${BIN}/Danvora.dll failed")
endif()

# Exactly the two undecorated names.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n((\t[^\n]*\n)*)" table "${dump}")
set(table "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" names "${table}")
set(exported "")
foreach(line ${names})
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${line}")
  string(STRIP "${name}" name)
  list(APPEND exported "${name}")
endforeach()
if(NOT exported STREQUAL "dctrans;koordles")
  string(APPEND failures "exports are '${exported}', not 'dctrans;koordles'\n")
endif()

# kx77dll imported by ordinal only: 12 and 14, no names.
string(REGEX MATCH "DLL Name: kx77dll\\.dll\n[^\n]*\n((\t[^\n]+\n)*)" kx77 "${dump}")
if(kx77 STREQUAL "")
  string(APPEND failures "no import of kx77dll.dll\n")
else()
  # 32-bit objdump prints the ordinal in decimal, 64-bit in hexadecimal.
  set(hex_12 c)
  set(hex_14 e)
  foreach(ordinal 12 14)
    if(NOT kx77 MATCHES "[ \t](${ordinal}|0*${hex_${ordinal}})[ \t]+<none>")
      string(APPEND failures "kx77dll.dll ordinal ${ordinal} not imported by ordinal\n")
    endif()
  endforeach()
endif()

endif()

if(MODE STREQUAL "cli")
# danvora-cli.exe loads Danvora.dll (and with it kx77dll.dll) and converts.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${WINE_RUN} ${BIN}/danvora-cli.exe koordles
          Z:${DATA}/koordles/geocad.txt Z:${WORK}/out.csv 3 1
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(rc EQUAL 125)
  # The launcher cannot start programs of this build here.
  message(STATUS "cannot run on this machine: ${err}")
  return()
endif()
if(NOT rc EQUAL 0 OR NOT out STREQUAL "koordles returned 0\n")
  string(APPEND failures "danvora-cli.exe koordles: exit ${rc}, '${out}' '${err}'\n")
else()
  file(READ ${WORK}/out.csv got HEX)
  file(READ ${DATA}/koordles/geocad.csv want HEX)
  if(NOT got STREQUAL want)
    string(APPEND failures "danvora-cli.exe koordles wrote other bytes\n")
  endif()
endif()

# A refusal leaves the file and ends with 1.
file(WRITE ${WORK}/kept.csv "kept\n")
execute_process(
  COMMAND ${WINE_RUN} ${BIN}/danvora-cli.exe koordles
          Z:${DATA}/koordles/geocad.txt Z:${WORK}/kept.csv 10 1
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ ${WORK}/kept.csv kept)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "koordles returned 255\n"
   OR NOT kept STREQUAL "kept\n")
  string(APPEND failures "refusal by danvora-cli.exe: exit ${rc}, '${out}' '${err}'\n")
endif()

# A number the library's 16 bits cannot hold (65539 would act as GEOCAD) is
# a usage error; nothing is converted.
execute_process(
  COMMAND ${WINE_RUN} ${BIN}/danvora-cli.exe koordles
          Z:${DATA}/koordles/geocad.txt Z:${WORK}/wide.csv 65539 1
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR EXISTS ${WORK}/wide.csv)
  string(APPEND failures "danvora-cli.exe with format 65539: exit ${rc}, '${out}' '${err}'\n")
endif()
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "${MODE}: ok")
