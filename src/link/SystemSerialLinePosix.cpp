#include "link/PosixSerialLine.h"
#include "link/SystemSerialLine.h"

namespace tavo {

std::unique_ptr<SerialLine> makeSystemSerialLine()
{
    return std::make_unique<PosixSerialLine>();
}

bool systemSerialLineAvailable()
{
    return true;
}

std::string missingSerialLineReason()
{
    return {};
}

}  // namespace tavo
