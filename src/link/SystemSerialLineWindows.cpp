#include "link/SystemSerialLine.h"
#include "link/WindowsSerialLine.h"

namespace tavo {

std::unique_ptr<SerialLine> makeSystemSerialLine()
{
    return std::make_unique<WindowsSerialLine>();
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
