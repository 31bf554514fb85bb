#pragma once
// The serial line of the system TaVO was built for: what the ECM link opens
// outside the tests: the POSIX terminal or the Windows COM port. A build
// without one (TAVO_SERIAL_LINE off) gives a line that opens nothing, and
// says why.

#include <memory>
#include <string>

#include "link/SerialLine.h"

namespace tavo {

std::unique_ptr<SerialLine> makeSystemSerialLine();

// False in a build without a serial line.
bool systemSerialLineAvailable();
// Why there is none, worded for a person; empty when there is one.
std::string missingSerialLineReason();

}  // namespace tavo
