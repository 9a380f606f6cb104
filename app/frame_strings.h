#pragma once
// Ids of the frame's texts in the main string table (app/resources/veltrace.rc).

#define stringReady 200
#define stringCapsIndicator 201
#define stringNumIndicator 202
#define stringScrollIndicator 203
#define stringWorkspaceBar 210
#define stringParameterBar 211
#define stringMessagesBar 212
