// The public reads, the same on every system.
#include "common/AtomicFile.h"
#include "common/RegularFileRead.h"

namespace tavo {

FileContent readFileStart(const std::string& path, std::size_t maxBytes)
{
    return readRegularFile(path, maxBytes, false);
}

FileContent readWholeFile(const std::string& path, std::size_t limit)
{
    return readRegularFile(path, limit, true);
}

std::optional<FileContent> readFilePrefix(const std::string& path, std::size_t maxBytes)
{
    FileContent content = readFileStart(path, maxBytes);
    if (!content.status)
        return std::nullopt;
    return content;
}

}  // namespace tavo
