#pragma once
// The one step of reading that each system does its own way; the public
// reads of AtomicFile.h (FileContent.cpp) are built on it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "common/AtomicFile.h"

namespace tavo {

// Reads at most maxBytes of the regular file at path (a folder, pipe or
// device is refused unopened). With `whole`, a file larger than maxBytes is
// TooLarge and gives no bytes: it is never taken for a complete one.
FileContent readRegularFile(const std::string& path, std::size_t maxBytes, bool whole);

// A regular file each system has opened, as the one read loop sees it.
struct OpenedFile {
    // Bytes read into the buffer, 0 at the end, -1 on a failure.
    std::function<long long(void* buffer, std::size_t length)> readSome;
    // Why the last read failed.
    std::function<FileStatus()> failure;
};
// Reads the opened file of `measured` bytes as readRegularFile promises. A
// file that grew since it was measured is read on up to the limit, and its
// size says whether more follows.
FileContent readOpenedFile(const OpenedFile& file, std::uintmax_t measured, std::size_t maxBytes, bool whole);

}  // namespace tavo
