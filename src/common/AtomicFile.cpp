#include "common/AtomicFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

std::string temporarySibling(const std::string& path)
{
    static thread_local std::mt19937 rng{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".tavo-%08x.tmp", static_cast<unsigned>(rng()));
    return path + suffix;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return false;
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return false;
    const std::string temp = temporarySibling(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

std::optional<FileContent> readFilePrefix(const std::string& path, std::size_t maxBytes)
{
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    FileContent content;
    content.size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    const std::size_t wanted =
        content.size < maxBytes ? static_cast<std::size_t>(content.size) : maxBytes;
    content.bytes.resize(wanted);
    in.read(reinterpret_cast<char*>(content.bytes.data()), static_cast<std::streamsize>(wanted));
    content.bytes.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

}  // namespace tavo
