#pragma once
// The one step of reading that each system does its own way; the public
// reads of AtomicFile.h (FileContent.cpp) are built on it.

#include <cstddef>
#include <string>

#include "common/AtomicFile.h"

namespace tavo {

// Reads at most maxBytes of the regular file at path (a folder, pipe or
// device is refused unopened). With `whole`, a file larger than maxBytes is
// TooLarge and gives no bytes: it is never taken for a complete one.
FileContent readRegularFile(const std::string& path, std::size_t maxBytes, bool whole);

}  // namespace tavo
