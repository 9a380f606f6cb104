# Helpers shared by every folder: warnings, sanitizers, tests, fuzzers,
# benchmarks and the staged program folder.

set(VELTRACE_WINDOWS ${WIN32})

# Direct3D 8 is a 32-bit library on Windows, so mingw has no 64-bit import
# library for it; the 64-bit test build links Wine's 64-bit d3d8.dll
# through one made here.
if(VELTRACE_WINDOWS AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELTRACE_IMPORT_LIBRARIES ${CMAKE_BINARY_DIR}/import-libs)
  file(MAKE_DIRECTORY ${VELTRACE_IMPORT_LIBRARIES})
  file(WRITE ${VELTRACE_IMPORT_LIBRARIES}/d3d8.def "LIBRARY d3d8.dll\nEXPORTS\nDirect3DCreate8\n")
  execute_process(COMMAND ${VELTRACE_MINGW_PREFIX}-dlltool -d ${VELTRACE_IMPORT_LIBRARIES}/d3d8.def
                          -l ${VELTRACE_IMPORT_LIBRARIES}/libd3d8.a
                  RESULT_VARIABLE dlltool_result)
  if(NOT dlltool_result EQUAL 0)
    message(FATAL_ERROR "could not make the 64-bit import library of d3d8.dll with ${VELTRACE_MINGW_PREFIX}-dlltool")
  endif()
  link_directories(${VELTRACE_IMPORT_LIBRARIES})
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
if(VELTRACE_WINDOWS)
  # C99 printf formats (%zu, %lld) in the mingw runtime's printf family.
  add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
endif()
if(VELTRACE_SANITIZE AND NOT VELTRACE_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VELTRACE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Test framework: Debian's prebuilt GoogleTest natively, built from Debian's
# source package for the Windows tier.
if(NOT VELTRACE_FUZZ)
  if(VELTRACE_WINDOWS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
enable_testing()

# The resource scripts of the window families, included by the program's
# main resource script: what it must be built again for.
file(GLOB VELTRACE_FAMILY_RESOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/panes/*/*.rc)

# veltrace_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One ctest entry per executable: under Wine every process start costs about
# a second, so cases are not registered one by one.
function(veltrace_test name)
  if(VELTRACE_FUZZ OR VELTRACE_BENCH)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    VELTRACE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VELTRACE_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "GTEST_COLOR=no" TIMEOUT 900)
endfunction()

# veltrace_fuzzer(NAME SOURCES a.cpp LIBS lib1 [CORPUS seed_folder...]): a
# libFuzzer target, with a short smoke run registered as a test of the fuzz
# build (VELTRACE_FUZZ_SECONDS sets its length).
function(veltrace_fuzzer name)
  if(NOT VELTRACE_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;CORPUS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set(work ${CMAKE_BINARY_DIR}/fuzz/${name}.corpus)
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tools/fuzz-run $<TARGET_FILE:${name}> ${work} ${F_CORPUS})
endfunction()

# veltrace_benchmark(NAME SOURCES a.cpp LIBS lib1): a Google Benchmark program
# run by `make bench`.
function(veltrace_benchmark name)
  if(NOT VELTRACE_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE VELTRACE_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# Copies the shipped data folders into bin/ so that a run finds them below
# its working folder, as an installed program does.
function(veltrace_stage_program_folder)
  if(VELTRACE_FUZZ OR VELTRACE_BENCH)
    return()
  endif()
  add_custom_target(stage_program_folder ALL
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/data
            -DDESTINATION=${VELTRACE_PROGRAM_FOLDER}
            -P ${PROJECT_SOURCE_DIR}/cmake/StageProgramFolder.cmake
    COMMENT "Staging the program folder")
endfunction()
