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
// with a line break keeps it in the control, whether it replaces the whole
// document or goes in at the selection (which keeps its last paragraph
// mark; a document's own end swallows one).
enum class RichTextUse { wholeDocument, atSelection };
std::string richTextOf(std::string_view text, const std::vector<ColouredRun>& runs,
                       RichTextUse use = RichTextUse::wholeDocument);

// A long text goes into the control piece by piece. Where the piece that
// starts at `from` and holds at most `lines` lines ends: right after its
// last line break (CR LF, CR or LF), or at the end of the text.
size_t endOfLines(std::string_view text, size_t from, size_t lines);

// The runs of a whole text that fall inside [begin, end), counted from
// begin; a run across either end is cut there.
std::vector<ColouredRun> runsWithin(const std::vector<ColouredRun>& runs, size_t begin, size_t end);

}  // namespace veltrace
