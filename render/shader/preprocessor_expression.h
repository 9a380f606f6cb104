#pragma once
// The integer expressions of #if and #elif, after "defined NAME" and the
// macros have been replaced: decimal, hexadecimal (0x) and octal (leading 0)
// numbers, identifiers left over (they count as 0), parentheses and the C
// operators ! ~ - + * / % << >> < <= > >= == != & ^ | && || ?: with their C
// precedence, in 64-bit signed arithmetic.

#include <cstdint>
#include <string>
#include <string_view>

#include "render/shader/macro_table.h"

namespace veltrace::shader {

struct ExpressionResult {
  std::int64_t value = 0;
  std::string error;  // empty when the expression could be read and computed
};

ExpressionResult evaluatePreprocessorExpression(std::string_view expression);

// Replaces "defined NAME" and "defined(NAME)" with 1 or 0; error text when an
// operand of defined is missing.
ExpansionResult replaceDefinedOperators(std::string_view expression, const MacroTable& macros);

}  // namespace veltrace::shader
