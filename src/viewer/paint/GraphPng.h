#pragma once
// The table graph written to a PNG file, for callers without Qt of their own
// (tavo-cli).

#include <string>

#include "common/AtomicFile.h"

namespace tavo {

struct RomImage;

// Draws entry `index` as drawTableGraph does and saves the 258 x 258 image
// as PNG through the safe save, under exactly the bytes of `path` (a name
// that is not UTF-8 stays as it is); the status says why it failed.
FileStatus saveTableGraphPng(const std::string& path, const RomImage& rom, int index, const RomImage* comparison);

}  // namespace tavo
