# Script mode: copies the data folders that belong to the program folder.
# The install script and other build-only files under data/ stay behind.
foreach(folder prefs effects media shader Workspaces help)
  if(EXISTS ${SOURCE}/${folder})
    file(COPY ${SOURCE}/${folder} DESTINATION ${DESTINATION})
  endif()
endforeach()
