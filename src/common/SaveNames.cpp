#include "common/SaveNames.h"

#include <cstdio>

namespace tavo {

namespace {

constexpr std::string_view kPrefix = ".tavo-";
constexpr std::string_view kSuffix = ".tmp";

bool hexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::string temporaryFileName(std::uint32_t processId, std::uint32_t random)
{
    char name[48];
    std::snprintf(name, sizeof name, ".tavo-%lu-%08lx.tmp", static_cast<unsigned long>(processId),
                  static_cast<unsigned long>(random));
    return name;
}

std::uint32_t temporaryFileWriter(std::string_view name)
{
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix))
        return 0;
    name.remove_prefix(kPrefix.size());
    name.remove_suffix(kSuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() - dash - 1 != 8)
        return 0;
    for (const char c : name.substr(dash + 1))
        if (!hexDigit(c))
            return 0;
    std::uint64_t pid = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + static_cast<std::uint64_t>(c - '0');
        if (pid > 0xFFFFFFFFu)
            return 0;
    }
    return static_cast<std::uint32_t>(pid);
}

bool abandonedTemporary(std::string_view name, std::uint32_t self,
                        const std::function<bool(std::uint32_t)>& processGone)
{
    const std::uint32_t writer = temporaryFileWriter(name);
    return writer != 0 && writer != self && processGone(writer);
}

std::string linkedCopyName(std::uint64_t fileId)
{
    char name[48];
    std::snprintf(name, sizeof name, ".tavo-%llx.new", static_cast<unsigned long long>(fileId));
    return name;
}

}  // namespace tavo
