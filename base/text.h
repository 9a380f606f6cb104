#pragma once
// Text helpers shared by every reader of the program's comma-separated data
// files: field splitting, the lenient number reading those files rely on,
// printf-style formatting of the program's fixed messages.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace {

// Splits at every comma; no quoting, no escaping. An empty line is one empty
// field, and "a," is the two fields "a" and "".
std::vector<std::string> splitFields(std::string_view line);

// Splits a whole file's text into lines: LF ends a line, a CR right before it
// is dropped. Text after the last LF is a last line when it is not empty, so
// "a\r\n" is one line and "a\r\n\r\n" is two, the second empty.
std::vector<std::string> splitLines(std::string_view text);

// Lenient integer: leading blanks, an optional sign, then the leading decimal
// digits; no digits reads as 0 and anything behind is ignored. Values beyond
// the int32 range saturate instead of overflowing.
std::int32_t readLenientInt(std::string_view text);

// Like readLenientInt, but a "0x" or "0X" prefix after the sign reads the
// digits behind it as hexadecimal (as colour and mask literals are written).
// The 32-bit pattern is returned as written: "0xFF00FF00" gives 0xFF00FF00.
std::uint32_t readLenientIntOrHex(std::string_view text);

// Lenient real: leading blanks, then the longest leading decimal
// floating-point text (sign, digits, point, digits, exponent); 0 when there is
// none. No hexadecimal floats, no "inf" or "nan".
double readLenientReal(std::string_view text);

// printf into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string toLowerAscii(std::string_view text);

// True when the text holds anything but blanks, tabs and line breaks.
bool hasVisibleText(std::string_view text);

}  // namespace veltrace
