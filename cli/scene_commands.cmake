# The scene command group of veltrace-cli. Model import needs the Open Asset
# Import Library: Debian's libassimp-dev natively, and for Windows the one
# tools/build-assimp-mingw makes (without it the Windows build imports
# nothing).
target_sources(veltrace-cli PRIVATE scene_commands.cpp scene_import.h import_worker.h)
target_link_libraries(veltrace-cli PRIVATE veltrace_scene veltrace_scene_authoring veltrace_model_import)
# The import runs in a watched child process natively; the Windows
# veltrace-cli.exe is the worker the program starts inside a job object.
if(VELTRACE_WINDOWS)
  target_sources(veltrace-cli PRIVATE import_worker_windows.cpp)
else()
  target_sources(veltrace-cli PRIVATE import_worker_posix.cpp)
endif()
if(NOT VELTRACE_WINDOWS)
  find_package(assimp QUIET)
else()
  # The Windows build takes the library tools/build-assimp-mingw made for
  # its processor, when it is there.
  find_package(assimp CONFIG QUIET NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
               PATHS ${PROJECT_SOURCE_DIR}/build/assimp-mingw-${CMAKE_SYSTEM_PROCESSOR})
endif()
if(assimp_FOUND)
  target_sources(veltrace-cli PRIVATE scene_import_assimp.cpp)
  target_link_libraries(veltrace-cli PRIVATE assimp::assimp)
else()
  target_sources(veltrace-cli PRIVATE scene_import_none.cpp)
endif()

# The workspace command group reads scenes too.
target_sources(veltrace-cli PRIVATE workspace_commands.cpp)
target_link_libraries(veltrace-cli PRIVATE veltrace_workspace)
