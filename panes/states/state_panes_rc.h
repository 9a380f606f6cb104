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
