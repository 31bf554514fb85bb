#pragma once
// Files the project's own generators make, for the seed corpus and for the
// fixtures of the command-line targets: a log of the simulated ECM's drive
// as the default channels log it, and its CSV.

#include <cstdint>
#include <string>

#include "logging/LogFile.h"

namespace tavo::fuzz {

// `rows` logged rows of the simulated engine's drive, `periodMs` apart, in
// the channels of `mask` (bit 8: the custom address, 0x40); more than 4096
// rows wrap the ring as a long run does.
LogFileContent driveLog(int rows, std::uint32_t mask, std::int32_t periodMs);

// The CSV "Save Current Log..." writes of a log, with the default titles.
std::string driveCsv(const LogFileContent& log);

// Writes the sample calibration, a log of the drive, its CSV and the
// default Logging.cfg into `folder` (sample.bin/.tbl, sample-compare.bin/.tbl,
// run.log, run.csv, Logging.cfg); false when a file could not be written.
bool writeFixtureFiles(const std::string& folder);

}  // namespace tavo::fuzz
