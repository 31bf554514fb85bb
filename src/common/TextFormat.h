#pragma once
// Locale-independent number and text conversions with the classic C
// semantics the file formats and dialogs rely on ("%f", "%4x", "%2.1f", fixed
// text widths). They never depend on the user's locale, so a German desktop
// still writes "33.5" into a .tbl file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// White space as the C library's isspace sees it in the "C" locale.
bool isCSpace(char c);

// "%.<precision>f", halfway cases rounded away from zero.
std::string formatFixed(double value, int precision);

// formatFixed padded on the left with spaces to at least minWidth ("%2.1f").
std::string formatFixed(double value, int precision, int minWidth);

// Hexadecimal, lower case, padded on the left with padChar to minWidth
// ("%04x" is hexLower(v, 4, '0'), "%4x" is hexLower(v, 4, ' ')).
std::string hexLower(std::uint32_t value, int minWidth = 0, char padChar = ' ');
std::string hexUpper(std::uint32_t value, int minWidth = 0, char padChar = ' ');

// "%f" conversion: leading white space skipped, then the longest decimal
// number; nothing when there is none.
std::optional<float> parseFloatPrefix(std::string_view text);

// "%<maxDigits>x" conversion: leading white space skipped, then at most
// maxDigits hexadecimal digits (0: no limit, saturating at 0xFFFFFFFF).
std::optional<std::uint32_t> parseHexPrefix(std::string_view text, int maxDigits);

// A text field of the given width holds at most width - 1 characters.
std::string cutToWidth(std::string_view text, std::size_t width);

// Record texts are bytes: a text that is valid UTF-8 is taken as such,
// anything else as one Latin-1 character a byte. The one UTF-8 check: no
// overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);  // 1 to 4, or 0: not well-formed
bool isValidUtf8(std::string_view text);
std::string toUtf8(std::string_view text);

// A record text as UTF-8 that is safe to print to a terminal or a CSV cell:
// control characters (C0 but tab, DEL, C1) are shown as ^X or "?" instead of
// reaching the reader, so a crafted title cannot move a terminal's cursor or
// retitle its window. Line breaks are kept only when asked for.
std::string printableText(std::string_view text, bool keepLineBreaks = false);

std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// The order of the table list's names and of sorted choice lists: byte by
// byte, unsigned, with A to Z folded to lower case ("33.25pph" before "33pph").
bool lessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tavo
