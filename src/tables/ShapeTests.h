#pragma once
// Shape tests: do the bytes at an address look like an interpolation table?
// The ROM scan uses them on every address the code loads into X. A table
// whose rows would run past 0xFFFF is no table.

#include "tables/TableDef.h"

namespace tavo {

// 0: not a Normal/Signed table; n: an unsigned table of n rows; -n: the
// slopes show the y bytes to be signed.
int testNormalTable(const ImageBuffer& image, int address);

// The number of data rows (1 to 17) of a FiveByte table, or 0.
int testFiveByteTable(const ImageBuffer& image, int address);

}  // namespace tavo
