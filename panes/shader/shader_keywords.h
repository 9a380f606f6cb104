#pragma once
// The colours and keyword lists of the shader source editor per pane kind.

#include "panes/shader/shader_pane_kind.h"
#include "panes/shader/syntax_highlighter.h"

namespace veltrace {

namespace editorColour {
inline constexpr TextColour plainText{0, 0, 0};
inline constexpr TextColour instruction{0, 0, 255};     // instructions, versions, modifiers, masks
inline constexpr TextColour inputRegister{0, 100, 140};
inline constexpr TextColour outputRegister{235, 80, 0};  // output and temporary registers
inline constexpr TextColour comment{0, 150, 0};
inline constexpr TextColour literal{255, 0, 255};        // string and character literals
}  // namespace editorColour

// Keyword groups, named after the colour their lists get.
enum KeywordGroup : int { instructionGroup = 0, inputGroup = 1, outputGroup = 2 };

// Empties the keyword table, then fills it as a pane of this kind does when
// it is set up: the list both kinds share, the comment and string colours,
// the lists of the kind. The ps.1.4 lists come only with a device whose
// pixel shader version is 1.4.
void setUpShaderKeywords(SyntaxHighlighter& highlighter, ShaderPaneKind kind, float pixelShaderVersion);

}  // namespace veltrace
