#pragma once
// The ROM scan: finds the tables an image's code addresses. Code that looks a
// table up loads the table's address into X with an immediate operand
// (opcode 0xCE, high byte first); every such operand above the load offset
// whose bytes have the shape of a table becomes a generic definition that the
// user then names in the Quick Viewer.

#include <string>
#include <vector>

namespace tavo {

struct RomImage;
class RomPrompts;

// The load-X-immediate opcode of the 6801 and 68HC11.
inline constexpr int kLoadXImmediate = 0xCE;
// Instructions are sought below this address only.
inline constexpr int kScanEnd = 0xFFE0;

// Said once when the definitions are full and the scan had to stop.
inline constexpr const char* kScanTableListFull =
    "The table list is full (514 entries).\n"
    "The ROM scan stopped; the remaining tables were not added.";

struct ScanResult {
    std::vector<int> added;         // indices of the entries appended, in the order found
    bool stoppedAtCapacity = false;  // a table was found with no free slot left
};

// What a scan added, in a line for the status bar: "3 definitions added:
// L9120, L9200, L9300." (the first few names, then how many more), or
// "ROM Scan found no new tables."
std::string scanSummaryText(const RomImage& rom, const ScanResult& result);

// Walks the image from its load offset up to 0xFFE0 and appends a definition
// for each new table found. Existing entries are left as they are; a new
// entry sets only the fields a found table is given, and a slot is touched
// only when its entry is added. Never stores more than kTableCapacity entries.
ScanResult scanLoadedImage(RomImage& rom);

// "ROM Scan...": loads an image (asking for the file), then scans whatever
// image the record holds; nothing happens while none was ever loaded. A full
// table list is reported once.
ScanResult scanRom(RomImage& rom, RomPrompts& prompts);

}  // namespace tavo
