#pragma once
// The token encoding of .tbl text fields: a token holds no white space, so a
// space is written as "_", a line break as the byte 0xA6 and an empty field
// as "_"; reading turns "_" into a space and 0xA6 into a line feed.

#include <string>
#include <string_view>

namespace tavo {

constexpr char kEncodedLineBreak = static_cast<char>(0xA6);

std::string encodeToken(std::string_view field);
std::string decodeToken(std::string_view token);

// Reads the whitespace-separated conversions of a .tbl line the way the C
// library's sscanf does, so "12345" read as "%4x %s" gives 0x1234 and "5".
class TokenScanner {
public:
    explicit TokenScanner(std::string_view line) : line_(line) {}

    bool token(std::string& out);                    // "%s"
    bool hex(int maxDigits, std::uint32_t& out);     // "%<maxDigits>x", 0: no limit
    bool atEnd();

private:
    void skipSpace();
    std::string_view line_;
    std::size_t pos_ = 0;
};

}  // namespace tavo
