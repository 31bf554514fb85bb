#pragma once
// A synthetic turbo calibration for demonstrations and tests: a 32 KiB image
// loaded at 0x8000 with tables of every kind, the four fuel tables, and code
// that loads table addresses into X (so a ROM scan has something to find).
// Every byte and name is made up here.

#include <memory>
#include <string>

#include "rom/RomImage.h"

namespace tavo::sample {

inline constexpr int kLoadOffset = 0x8000;
inline constexpr int kImageSize = 0x8000;

// Tables the code references but the .tbl file does not define.
inline constexpr int kUndefinedNormal = 0x9200;
inline constexpr int kUndefinedFiveByte = 0x9240;
inline constexpr int kUndefinedSigned = 0x9280;

// The working calibration, or the comparison one with richer fuel tables.
std::unique_ptr<RomImage> makeSampleCalibration(bool comparison = false);

// Writes sample.bin/.tbl and sample-compare.bin/.tbl into the folder;
// false when a file could not be written.
bool writeSampleFiles(const std::string& folder);

}  // namespace tavo::sample
