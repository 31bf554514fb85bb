#include "logging/LoggingConfig.h"

#include <algorithm>
#include <cstring>

#include "common/AtomicFile.h"
#include "common/LittleEndian.h"

namespace tavo {

namespace {

constexpr std::size_t kChannelRecordSize = 80;
constexpr std::size_t kNameOffset = 1280;
constexpr std::size_t kSerialOffset = 1344;

template <std::size_t N>
std::string textOf(const std::array<char, N>& buffer)
{
    // A buffer without its NUL still yields at most N - 1 characters.
    const auto end = std::find(buffer.begin(), buffer.end() - 1, '\0');
    return std::string(buffer.begin(), end);
}

// Stores text and its NUL; the bytes after the NUL keep what they held, as
// the original buffers did.
template <std::size_t N>
void setText(std::array<char, N>& buffer, std::string_view text)
{
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), length, buffer.begin());
    buffer[length] = '\0';
}





}  // namespace

std::string LogChannel::titleText() const { return textOf(title); }
void LogChannel::setTitle(std::string_view text) { setText(title, text); }
std::string LoggingConfig::nameText() const { return textOf(name); }
void LoggingConfig::setName(std::string_view text) { setText(name, text); }

void setLoggingDefaults(LoggingConfig& config)
{
    struct Default {
        const char* title;
        std::int32_t location;
        bool word;
        double multiplier;
    };
    static constexpr Default kDefaults[8] = {
        {"RPMs", 0x8F, true, 0.0078125},
        {"Vehicle Speed", 0x69, true, 0.03125},
        {"Throttle Position", 0x98, false, 1.0},
        {"MAP", 0x86, false, 1.0},
        {"Coolant Temp", 0x9A, false, 1.0},
        {"Charge Air Temp", 0x9D, false, 1.0},
        {"Advance/Retard", 0x72, false, 1.0},
        {"Rich/Lean", 0x9C, false, 1.0},
    };
    for (std::size_t i = 0; i < 8; ++i) {
        LogChannel& channel = config.channels[i];
        channel.setTitle(kDefaults[i].title);
        channel.location = kDefaults[i].location;
        channel.word = kDefaults[i].word;
        channel.multiplier = kDefaults[i].multiplier;
    }
    config.setName("87 Turbo II");
    config.serial = SerialSettings{1, 1, 1};
}

std::string encodeLoggingConfig(const LoggingConfig& config)
{
    std::string out(kLoggingConfigSize, '\0');
    for (std::size_t i = 0; i < 8; ++i) {
        const LogChannel& channel = config.channels[i];
        const std::size_t base = i * kChannelRecordSize;
        std::copy(channel.title.begin(), channel.title.end(), out.begin() + static_cast<std::ptrdiff_t>(base));
        putLittleEndian32(out, base + 64, static_cast<std::uint32_t>(channel.location));
        out[base + 68] = channel.word ? 1 : 0;
        putLittleEndianDouble(out, base + 72, channel.multiplier);
    }
    std::copy(config.reserved.begin(), config.reserved.end(), out.begin() + 640);
    std::copy(config.name.begin(), config.name.end(), out.begin() + static_cast<std::ptrdiff_t>(kNameOffset));
    putLittleEndian32(out, kSerialOffset, static_cast<std::uint32_t>(config.serial.port));
    putLittleEndian32(out, kSerialOffset + 4, static_cast<std::uint32_t>(config.serial.lowSpeed));
    putLittleEndian32(out, kSerialOffset + 8, static_cast<std::uint32_t>(config.serial.highSpeed));
    return out;
}

void decodeLoggingConfig(LoggingConfig& config, std::string_view in)
{
    auto has = [&](std::size_t end) { return in.size() >= end; };
    // Channels and reserved bytes come as one 1280-byte read: a short file
    // fills them byte by byte as far as it reaches.
    for (std::size_t i = 0; i < 8; ++i) {
        LogChannel& channel = config.channels[i];
        const std::size_t base = i * kChannelRecordSize;
        for (std::size_t k = 0; k < 64 && has(base + k + 1); ++k)
            channel.title[k] = in[base + k];
        if (has(base + 68))
            channel.location = static_cast<std::int32_t>(getLittleEndian32(in, base + 64));
        if (has(base + 69))
            channel.word = in[base + 68] != 0;
        if (has(base + 80))
            channel.multiplier = getLittleEndianDouble(in, base + 72);
    }
    for (std::size_t k = 0; k < 640 && has(640 + k + 1); ++k)
        config.reserved[k] = static_cast<std::uint8_t>(in[640 + k]);
    if (has(kNameOffset + 64))
        std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(kNameOffset), 64, config.name.begin());
    if (has(kSerialOffset + 4))
        config.serial.port = static_cast<std::int32_t>(getLittleEndian32(in, kSerialOffset));
    if (has(kSerialOffset + 8))
        config.serial.lowSpeed = static_cast<std::int32_t>(getLittleEndian32(in, kSerialOffset + 4));
    if (has(kSerialOffset + 12))
        config.serial.highSpeed = static_cast<std::int32_t>(getLittleEndian32(in, kSerialOffset + 8));
}

FileStatus loadLoggingConfig(LoggingConfig& config, const std::string& path)
{
    const FileContent content = readFileStart(path, kLoggingConfigSize);
    if (content.status)
        decodeLoggingConfig(config, std::string_view(reinterpret_cast<const char*>(content.bytes.data()),
                                                     content.bytes.size()));
    return content.status;
}

FileStatus readLoggingConfig(LoggingConfig& config, const std::string& path)
{
    const FileStatus loaded = loadLoggingConfig(config, path);
    if (loaded.missing())
        return writeLoggingConfig(config, path);
    // A file that exists but cannot be read is the user's: it is left alone.
    return {};
}

FileStatus writeLoggingConfig(const LoggingConfig& config, const std::string& path)
{
    return writeFileAtomically(path, encodeLoggingConfig(config));
}

}  // namespace tavo
