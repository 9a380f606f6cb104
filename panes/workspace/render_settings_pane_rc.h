#pragma once
// Resource ids of the Render Settings pane (block 2800-2899).

#define renderSettingsDialog 2800
#define renderSettingsPromptText 2801
#define renderSettingsTree 2802
#define renderSettingsHelpButton 2803
