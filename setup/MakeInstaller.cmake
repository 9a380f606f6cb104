# Script mode: makes Setup.exe, setup.exe with the package of the staged
# program folder appended, using the native veltrace-cli (the Windows one
# cannot run on the build machine).
#   -DSCRIPT=data/Setup.ini -DPAYLOAD=<program folder> -DCLI=<native veltrace-cli>
#   -DPROGRAM=<setup.exe> -DWORK=<scratch folder> -DOUTPUT=<Setup.exe>
#   [-DSTRIP=<the toolchain's strip>]
# The package holds a copy of the files the script names, staged below
# WORK/payload; with STRIP, its programs lose their symbols and debugging
# information there (a twentieth of their size: users download the program,
# not its symbols, which stay in the build's own copy).
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
set(staged "${WORK}/payload")
file(REMOVE_RECURSE "${staged}")
foreach(line IN LISTS lines)
  if(line MATCHES "^File=[^=]*=([^|]*)\\|")
    string(REPLACE "\\" "/" relative "${CMAKE_MATCH_1}")
    if(NOT EXISTS "${PAYLOAD}/${relative}")
      list(APPEND missing "${CMAKE_MATCH_1}")
      continue()
    endif()
    get_filename_component(folder "${staged}/${relative}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    if(STRIP AND relative MATCHES "\\.(exe|dll)$")
      execute_process(COMMAND "${STRIP}" --strip-all --preserve-dates -o "${staged}/${relative}" "${PAYLOAD}/${relative}"
                      RESULT_VARIABLE stripped)
      if(NOT stripped EQUAL 0)
        message(WARNING "Setup.exe: '${relative}' could not be stripped; it goes in whole")
        file(COPY "${PAYLOAD}/${relative}" DESTINATION "${folder}")
      endif()
    else()
      # (file(COPY) keeps the time the package records.)
      file(COPY "${PAYLOAD}/${relative}" DESTINATION "${folder}")
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
execute_process(COMMAND "${CLI}" package build "${WORK}/Setup.ini" "${staged}" -o "${WORK}/Veltrace.ovz"
                RESULT_VARIABLE built OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT built EQUAL 0)
  message(WARNING "Setup.exe not made: packing the program folder failed:\n${output}")
  return()
endif()
set(program "${PROGRAM}")
if(STRIP)
  execute_process(COMMAND "${STRIP}" --strip-debug --preserve-dates -o "${WORK}/setup.exe" "${PROGRAM}"
                  RESULT_VARIABLE stripped)
  if(stripped EQUAL 0)
    set(program "${WORK}/setup.exe")
  endif()
endif()
execute_process(COMMAND "${CLI}" package attach "${program}" "${WORK}/Veltrace.ovz" -o "${OUTPUT}"
                RESULT_VARIABLE attached OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT attached EQUAL 0)
  message(WARNING "Setup.exe not made: attaching the package failed:\n${output}")
  return()
endif()
message(STATUS "${output}")
