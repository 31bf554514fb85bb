#include <gtest/gtest.h>

#include "common/TextFormat.h"

namespace tavo {
namespace {

TEST(FixedFormat, halfway_cases_round_away_from_zero_like_the_dialogs_always_showed)
{
    EXPECT_EQ(formatFixed(0.0078125, 6), "0.007813");
    EXPECT_EQ(formatFixed(-0.0078125, 6), "-0.007813");
    EXPECT_EQ(formatFixed(33.25, 1), "33.3");
    EXPECT_EQ(formatFixed(0.125, 2), "0.13");
}

TEST(FixedFormat, ordinary_values_print_as_printf_would)
{
    EXPECT_EQ(formatFixed(100.0, 6), "100.000000");
    EXPECT_EQ(formatFixed(1.0, 6), "1.000000");
    EXPECT_EQ(formatFixed(33.5, 1, 2), "33.5");
    EXPECT_EQ(formatFixed(0.0, 1, 2), "0.0");
    EXPECT_EQ(formatFixed(5.0, 1, 5), "  5.0");
    EXPECT_EQ(formatFixed(9.96, 1), "10.0");
    EXPECT_EQ(formatFixed(-0.5, 4), "-0.5000");
    EXPECT_EQ(formatFixed(0.1F, 6), "0.100000");
    EXPECT_EQ(formatFixed(1234.5678, 0), "1235");
}

TEST(NumberParsing, a_float_is_read_from_the_start_of_the_text_as_percent_f_reads_it)
{
    EXPECT_FLOAT_EQ(parseFloatPrefix("  33.5abc").value(), 33.5F);
    EXPECT_FLOAT_EQ(parseFloatPrefix("-2").value(), -2.0F);
    EXPECT_FLOAT_EQ(parseFloatPrefix("+1e2").value(), 100.0F);
    EXPECT_FLOAT_EQ(parseFloatPrefix(".5").value(), 0.5F);
    EXPECT_FALSE(parseFloatPrefix("abc"));
    EXPECT_FALSE(parseFloatPrefix(""));
    EXPECT_FALSE(parseFloatPrefix("+-1"));
}

TEST(NumberParsing, hexadecimal_reads_at_most_the_given_digits)
{
    EXPECT_EQ(parseHexPrefix("12345", 4).value(), 0x1234u);
    EXPECT_EQ(parseHexPrefix("  8F", 2).value(), 0x8Fu);
    EXPECT_EQ(parseHexPrefix("1ffzz", 4).value(), 0x1FFu);
    EXPECT_EQ(parseHexPrefix("123456789", 0).value(), 0xFFFFFFFFu);
    EXPECT_FALSE(parseHexPrefix("xyz", 4));
    EXPECT_FALSE(parseHexPrefix("   ", 4));
}

TEST(TextFields, a_field_holds_at_most_its_width_less_one)
{
    EXPECT_EQ(cutToWidth("abcdef", 4), "abc");
    EXPECT_EQ(cutToWidth("ab", 4), "ab");
    EXPECT_EQ(cutToWidth("ab", 0), "");
    EXPECT_TRUE(equalsIgnoreCase("WotTbl", "WOTTBL"));
    EXPECT_FALSE(equalsIgnoreCase("WOTTBL", "WOTTB"));
    EXPECT_EQ(hexLower(0x1A, 4, '0'), "001a");
    EXPECT_EQ(hexLower(0, 4, ' '), "   0");
    EXPECT_EQ(hexUpper(0x800, 4, ' '), " 800");
}

TEST(TextOrder, bytes_compare_unsigned_with_a_to_z_folded_to_lower_case)
{
    EXPECT_TRUE(lessIgnoringCase("33.25pph 4418213/258", "33pph 4504322"));
    EXPECT_TRUE(lessIgnoringCase("apple", "Banana"));
    EXPECT_TRUE(lessIgnoringCase("Apple", "banana"));
    EXPECT_FALSE(lessIgnoringCase("ABC", "abc"));
    EXPECT_FALSE(lessIgnoringCase("abc", "ABC"));
    EXPECT_TRUE(lessIgnoringCase("ab", "abc"));
    EXPECT_TRUE(lessIgnoringCase("_", "a")) << "the underscore lies between the upper and lower case letters";
    EXPECT_TRUE(lessIgnoringCase("z", "\xE9")) << "bytes above 127 come last";
}

TEST(TextFormat, record_text_reaches_utf8_whole_or_as_latin1_bytes)
{
    EXPECT_EQ(toUtf8("Z\xC3\xA9ro"), "Z\xC3\xA9ro") << "valid UTF-8 is kept";
    EXPECT_EQ(toUtf8("Z\xE9ro"), "Z\xC3\xA9ro") << "a lone byte above 127 is Latin-1";
    EXPECT_EQ(toUtf8("\xC0\x80"), "\xC3\x80\xC2\x80") << "an overlong form is no UTF-8";
    EXPECT_FALSE(isValidUtf8("\xF5\x80\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF")) << "overlong three-byte form";
    EXPECT_FALSE(isValidUtf8("\xF0\x80\x80\xAF")) << "overlong four-byte form";
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")) << "above U+10FFFF";
    EXPECT_TRUE(isValidUtf8("\xED\x9F\xBF\xF4\x8F\xBF\xBF\xE0\xA0\x80")) << "U+D7FF, U+10FFFF, U+0800";
}

TEST(TextFormat, printable_text_shows_control_characters_instead_of_passing_them_on)
{
    EXPECT_EQ(printableText("\x1B]0;owned\x07"), "^[]0;owned^G");
    EXPECT_EQ(printableText("a\x7F\tb\nc"), "a^?\tb^Jc");
    EXPECT_EQ(printableText("a\nc", true), "a\nc");
    EXPECT_EQ(printableText("\xC2\x9B" "2J"), "?2J") << "C1 control in UTF-8";
    EXPECT_EQ(printableText("\x9B" "2J"), "?2J") << "a lone C1 byte is Latin-1, a C1 control";
    EXPECT_EQ(printableText("Z\xE9ro"), "Z\xC3\xA9ro");
}

}  // namespace
}  // namespace tavo
