#pragma once
// Coloured runs of a text as one rich-text (RTF) document, so that the
// editor takes a whole colouring in one stream-in instead of one format
// message per token.

#include <string>
#include <string_view>

#include "panes/shader/syntax_highlighter.h"

namespace veltrace {

// The text in "Courier New" 10 pt (fixed pitch, modern family, ANSI), plain
// text black, each run in its colour. CR LF, a lone CR or a lone LF each
// become one paragraph break; tabs stay tabs; bytes above 127 keep their
// code page value; other control characters show as '?'. A text that ends
// with a line break keeps it in the control.
std::string richTextOf(std::string_view text, const std::vector<ColouredRun>& runs);

}  // namespace veltrace
