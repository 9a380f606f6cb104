# The render command group of veltrace-cli: rendering needs Direct3D 8, so
# only the Windows build draws; the native one explains that.
target_sources(veltrace-cli PRIVATE render_commands.cpp render_options.h)
if(VELTRACE_WINDOWS)
  target_sources(veltrace-cli PRIVATE render_session_d3d.cpp)
  target_link_libraries(veltrace-cli PRIVATE veltrace_render_frame_d3d veltrace_workspace)
else()
  target_sources(veltrace-cli PRIVATE render_session_none.cpp)
endif()
