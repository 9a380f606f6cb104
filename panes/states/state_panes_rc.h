#pragma once
// Resource ids of the state panes (block 3000-3099): stream mapping, render
// states.

#define streamMappingDialog 3000
#define streamMappingList 3001
#define streamMappingChooser 3002
#define streamMappingApplyButton 3003
#define streamMappingHelpButton 3004

#define renderStatesDialog 3010
#define renderStatesList 3011
#define renderStatesDropDown 3012
#define renderStatesTextField 3013
#define renderStatesHelpButton 3014

// The variable editors: one template per kind, the same control ids.
#define vectorEditorDialog 3020
#define matrixEditorDialog 3021
#define colourEditorDialog 3022
#define variablePredefinedBox 3023
#define variablePredefinedList 3024
#define variableNameField 3025
#define variableHelpButton 3026
#define variableSwatchFrame 3027
// Value fields first + index (16 for a matrix), colour sliders first + index.
#define variableFirstValueField 3030
#define variableFirstSlider 3050

// The Textures pane and its stage pages.
#define texturesDialog 3060
#define texturesList 3061
#define texturesStageChooser 3062
#define texturesTabs 3063
#define texturesLoadButton 3064
#define texturesDeleteButton 3065
#define texturesHelpButton 3066
#define texturesPreviewFrame 3067
#define texturesStatesLabel 3068
#define texturesDeleteCommand 3069
#define stagePageDialog 3080
#define stagePageList 3081
#define stagePageDropDown 3082
#define stagePageTextField 3083
