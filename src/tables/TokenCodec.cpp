#include "tables/TokenCodec.h"

#include <cstdint>

#include "common/TextFormat.h"

namespace tavo {

std::string encodeToken(std::string_view field)
{
    if (field.empty())
        return "_";
    std::string token;
    token.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\r') {
            // A CR LF line break becomes one encoded break; a lone CR too.
            if (i + 1 < field.size() && field[i + 1] == '\n')
                continue;
            token += kEncodedLineBreak;
        } else if (c == '\n') {
            token += kEncodedLineBreak;
        } else if (isCSpace(c)) {
            token += '_';
        } else {
            token += c;
        }
    }
    return token;
}

std::string decodeToken(std::string_view token)
{
    std::string field(token);
    for (char& c : field) {
        if (c == '_')
            c = ' ';
        else if (c == kEncodedLineBreak)
            c = '\n';
    }
    return field;
}

void TokenScanner::skipSpace()
{
    while (pos_ < line_.size() && isCSpace(line_[pos_]))
        ++pos_;
}

bool TokenScanner::atEnd()
{
    skipSpace();
    return pos_ >= line_.size();
}

bool TokenScanner::token(std::string& out)
{
    skipSpace();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !isCSpace(line_[pos_]))
        ++pos_;
    if (pos_ == start)
        return false;
    out.assign(line_.substr(start, pos_ - start));
    return true;
}

bool TokenScanner::hex(int maxDigits, std::uint32_t& out)
{
    skipSpace();
    const auto value = parseHexPrefix(line_.substr(pos_), maxDigits);
    if (!value)
        return false;
    int digits = 0;
    while (pos_ < line_.size() && (maxDigits <= 0 || digits < maxDigits)) {
        const char c = line_[pos_];
        const bool isHex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!isHex)
            break;
        ++pos_;
        ++digits;
    }
    out = *value;
    return true;
}

}  // namespace tavo
