#pragma once
// The table graph written to a PNG file, for callers without Qt of their own
// (tavo-cli).

#include <string>

namespace tavo {

struct RomImage;

// Draws entry `index` as drawTableGraph does and saves the 258 x 258 image
// as PNG; false when the file could not be written.
bool saveTableGraphPng(const std::string& path, const RomImage& rom, int index, const RomImage* comparison);

}  // namespace tavo
