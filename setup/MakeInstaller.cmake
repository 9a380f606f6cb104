# Script mode: makes Setup.exe, setup.exe with the package of the staged
# program folder appended, using the native veltrace-cli (the Windows one
# cannot run on the build machine).
#   -DSCRIPT=data/Setup.ini -DPAYLOAD=<program folder> -DCLI=<native veltrace-cli>
#   -DPROGRAM=<setup.exe> -DWORK=<scratch folder> -DOUTPUT=<Setup.exe>
# Files the script names but the build has not made yet (the program while it
# is being written, the help file) are left out of the package with a note,
# so that the installer always holds whatever is staged.
if(NOT EXISTS "${CLI}")
  message(STATUS "Setup.exe not made: no native veltrace-cli at ${CLI} (build the native preset first)")
  return()
endif()

# Lines are split by hand: ";" and "[" mean something to CMake lists.
file(READ "${SCRIPT}" text)
string(REPLACE ";" "@SEMICOLON@" text "${text}")
string(REPLACE "[" "@OPEN@" text "${text}")
string(REPLACE "]" "@CLOSE@" text "${text}")
string(REPLACE "\r" "" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(kept "")
set(missing "")
foreach(line IN LISTS lines)
  if(line MATCHES "^File=[^=]*=([^|]*)\\|")
    string(REPLACE "\\" "/" relative "${CMAKE_MATCH_1}")
    if(NOT EXISTS "${PAYLOAD}/${relative}")
      list(APPEND missing "${CMAKE_MATCH_1}")
      continue()
    endif()
  endif()
  string(APPEND kept "${line}\r\n")
endforeach()
string(REPLACE "@SEMICOLON@" ";" kept "${kept}")
string(REPLACE "@OPEN@" "[" kept "${kept}")
string(REPLACE "@CLOSE@" "]" kept "${kept}")
foreach(name IN LISTS missing)
  message(STATUS "Setup.exe: '${name}' is not built yet; the package goes without it")
endforeach()

file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/Setup.ini" "${kept}")
# The native tool may be built with sanitizers; a leak report at its exit
# says nothing about the package.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
execute_process(COMMAND "${CLI}" package build "${WORK}/Setup.ini" "${PAYLOAD}" -o "${WORK}/Veltrace.ovz"
                RESULT_VARIABLE built OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT built EQUAL 0)
  message(WARNING "Setup.exe not made: packing the program folder failed:\n${output}")
  return()
endif()
execute_process(COMMAND "${CLI}" package attach "${PROGRAM}" "${WORK}/Veltrace.ovz" -o "${OUTPUT}"
                RESULT_VARIABLE attached OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT attached EQUAL 0)
  message(WARNING "Setup.exe not made: attaching the package failed:\n${output}")
  return()
endif()
message(STATUS "${output}")
