#include "common/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <cstdio>

namespace tavo {

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}

// Adds one unit in the last place of a string of decimal digits with an
// optional '.'; returns true when the carry ran out of the front.
bool incrementDecimal(std::string& digits)
{
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.')
            continue;
        if (digits[i] == '9') {
            digits[i] = '0';
            continue;
        }
        ++digits[i];
        return false;
    }
    return true;
}

}  // namespace

std::string formatFixed(double value, int precision)
{
    if (std::isnan(value))
        return value < 0 || std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    precision = std::clamp(precision, 0, 30);
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    // Enough extra digits to tell an exact halfway case from a near one for
    // every double the program formats.
    char buffer[512];
    const int extra = 60;
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::fixed, precision + extra);
    std::string full(buffer, result.ptr);
    const std::size_t dot = full.find('.');
    std::string kept = full.substr(0, dot + (precision > 0 ? 1 + static_cast<std::size_t>(precision) : 0));
    const std::string rest = full.substr(dot + 1 + static_cast<std::size_t>(precision));
    if (!rest.empty() && rest[0] >= '5') {
        if (incrementDecimal(kept))
            kept.insert(kept.begin(), '1');
    }
    if (precision == 0 && !kept.empty() && kept.back() == '.')
        kept.pop_back();
    const bool allZero = kept.find_first_not_of("0.") == std::string::npos;
    if (negative && !allZero)
        kept.insert(kept.begin(), '-');
    else if (negative && allZero)
        kept.insert(kept.begin(), '-');  // printf keeps the sign of -0.0
    return kept;
}

std::string formatFixed(double value, int precision, int minWidth)
{
    std::string text = formatFixed(value, precision);
    if (static_cast<int>(text.size()) < minWidth)
        text.insert(0, static_cast<std::size_t>(minWidth) - text.size(), ' ');
    return text;
}

std::string hexLower(std::uint32_t value, int minWidth, char padChar)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(value));
    std::string text(buffer);
    if (static_cast<int>(text.size()) < minWidth)
        text.insert(0, static_cast<std::size_t>(minWidth) - text.size(), padChar);
    return text;
}

std::string hexUpper(std::uint32_t value, int minWidth, char padChar)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    std::string text(buffer);
    if (static_cast<int>(text.size()) < minWidth)
        text.insert(0, static_cast<std::size_t>(minWidth) - text.size(), padChar);
    return text;
}

std::optional<float> parseFloatPrefix(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isCSpace(text[pos]))
        ++pos;
    bool negate = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negate = text[pos] == '-';
        ++pos;
        // from_chars takes its own minus sign only; a second sign is no number.
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            return std::nullopt;
    }
    float value = 0.0F;
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // printf-style conversion saturates instead of failing.
        value = std::numeric_limits<float>::infinity();
    } else if (result.ec != std::errc{} || result.ptr == first) {
        return std::nullopt;
    }
    return negate ? -value : value;
}

std::optional<std::uint32_t> parseHexPrefix(std::string_view text, int maxDigits)
{
    std::size_t pos = 0;
    while (pos < text.size() && isCSpace(text[pos]))
        ++pos;
    std::uint64_t value = 0;
    int digits = 0;
    while (pos < text.size() && isHexDigit(text[pos]) && (maxDigits <= 0 || digits < maxDigits)) {
        value = std::min<std::uint64_t>(value * 16 + hexValue(text[pos]), 0xFFFFFFFFULL + 1);
        ++digits;
        ++pos;
    }
    if (digits == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFFULL));
}

std::string cutToWidth(std::string_view text, std::size_t width)
{
    const std::size_t limit = width > 0 ? width - 1 : 0;
    return std::string(text.substr(0, std::min(limit, text.size())));
}

std::string toLowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && toLowerAscii(a) == toLowerAscii(b);
}

bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    auto fold = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return static_cast<unsigned char>(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char l, char r) { return fold(l) < fold(r); });
}

std::size_t utf8SequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The second byte's range rules out overlong forms (E0, F0), the
    // surrogates (ED) and code points above U+10FFFF (F4).
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    return length;
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string toUtf8(std::string_view text)
{
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace tavo

namespace tavo {

std::string printableText(std::string_view text, bool keepLineBreaks)
{
    const std::string utf8 = toUtf8(text);
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\t' || (c == '\n' && keepLineBreaks)) {
            shown += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            shown += '^';
            shown += static_cast<char>(c ^ 0x40);  // ESC as ^[, DEL as ^?
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // A C1 control (U+0080 to U+009F): 8-bit terminals obey them too.
            shown += '?';
            ++i;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

}  // namespace tavo
