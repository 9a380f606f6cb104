#pragma once
// Resource ids of the program's main resources (app/resources/veltrace.rc).
// Each window family keeps its own block of ids in its own header: the
// Parameter pane 2000-2099.

#define resourceAboutBox 100
#define resourceProgramIcon 128
#define resourceAboutIcon 1001
#define resourceAboutVersion 1002
