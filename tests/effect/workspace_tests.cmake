# The workspace file.
veltrace_test(workspace_tests
  SOURCES workspace_file_test.cpp
  LIBS veltrace_workspace veltrace_scene_authoring)
