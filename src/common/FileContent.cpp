// The public reads, the same on every system.
#include "common/AtomicFile.h"
#include "common/RegularFileRead.h"

#include <algorithm>

namespace tavo {

FileContent readFileStart(const std::string& path, std::size_t maxBytes)
{
    return readRegularFile(path, maxBytes, false);
}

FileContent readWholeFile(const std::string& path, std::size_t limit)
{
    return readRegularFile(path, limit, true);
}

FileContent readOpenedFile(const OpenedFile& file, std::uintmax_t measured, std::size_t maxBytes, bool whole)
{
    FileContent content;
    if (whole && measured > maxBytes) {
        content.status = FileStatus::tooLarge(maxBytes);
        content.size = measured;
        return content;
    }
    std::vector<std::uint8_t>& bytes = content.bytes;
    bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(measured, maxBytes)));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got == maxBytes)
                break;
            // The file grew since it was measured.
            bytes.resize(std::min<std::size_t>(maxBytes, got + 65536));
        }
        const long long n = file.readSome(bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            content.status = file.failure();
            bytes.clear();
            return content;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    content.size = got;
    if (got == maxBytes) {
        // Whether more follows the limit.
        std::uint8_t extra = 0;
        const long long n = file.readSome(&extra, 1);
        if (n < 0) {
            content.status = file.failure();
            bytes.clear();
            return content;
        }
        if (n > 0)
            content.size = std::max<std::uintmax_t>(measured, got + std::uintmax_t{1});
    }
    if (whole && content.size > got) {
        content.status = FileStatus::tooLarge(maxBytes);
        bytes.clear();
    }
    return content;
}

std::optional<FileContent> readFilePrefix(const std::string& path, std::size_t maxBytes)
{
    FileContent content = readFileStart(path, maxBytes);
    if (!content.status)
        return std::nullopt;
    return content;
}

}  // namespace tavo
