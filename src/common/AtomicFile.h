#pragma once
// Whole-file reading and crash-safe writing. A save writes a temporary file
// beside the target and renames it into place, so an interrupted or failed
// save never destroys the previous file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// Writes the bytes to path through a temporary sibling; false on any failure
// (the previous file, if any, is then untouched).
bool writeFileAtomically(const std::string& path, std::string_view bytes);

struct FileContent {
    std::vector<std::uint8_t> bytes;  // at most the requested limit
    std::uintmax_t size = 0;          // the file's full size on disk
};

// Reads at most maxBytes from the start of a regular file; nothing when it
// cannot be opened or is not a regular file.
std::optional<FileContent> readFilePrefix(const std::string& path, std::size_t maxBytes);

bool fileExists(const std::string& path);

}  // namespace tavo
