# The workspace file.
veltrace_test(workspace_tests
  SOURCES workspace_file_test.cpp
  LIBS veltrace_workspace veltrace_scene_authoring)

# The workspace reader must survive any input.
veltrace_fuzzer(effect_workspace_fuzzer
  SOURCES fuzz/workspace_fuzzer.cpp
  LIBS veltrace_workspace
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/workspace)
