# The workspace file: effects, scene and assignments. Needs the scene core
# besides the effect model.
add_library(veltrace_workspace STATIC workspace_file.cpp workspace_file.h)
target_link_libraries(veltrace_workspace PUBLIC veltrace_effect veltrace_scene)
