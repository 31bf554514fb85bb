#pragma once
// Numbers in TaVO's own binary files (Logging.cfg, log files): little-endian,
// whatever the processor, read and written byte by byte.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tavo {

inline void putLittleEndian32(std::string& out, std::size_t at, std::uint32_t bits)
{
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

inline std::uint32_t getLittleEndian32(std::string_view in, std::size_t at)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(in[at + i])) << (8 * i);
    return bits;
}

inline void putLittleEndianDouble(std::string& out, std::size_t at, double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (std::size_t i = 0; i < 8; ++i)
        out[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

inline double getLittleEndianDouble(std::string_view in, std::size_t at)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(in[at + i])) << (8 * i);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace tavo
