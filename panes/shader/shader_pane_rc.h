#pragma once
// Resource ids of the shader panes (block 2400-2499).

#define shaderPaneDialog 2400
#define shaderEnableBox 2401
#define shaderConstantsList 2402
#define shaderSplitterFrame 2403
#define shaderVariableChooser 2404
#define shaderEditorFrame 2405
#define shaderCheckList 2406
#define shaderBudgetText 2407
#define shaderApplyButton 2408
#define shaderLoadButton 2409
#define shaderHelpButton 2410
#define shaderSourceEditor 2411
// The editor's pop-up menu.
#define shaderEditUndo 2420
#define shaderEditCut 2421
#define shaderEditCopy 2422
#define shaderEditPaste 2423
