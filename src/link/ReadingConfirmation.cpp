#include "link/ReadingConfirmation.h"

namespace tavo {

HeldReading holdReading(const EcmLink& link, bool allAnswered, std::uint64_t straysBefore)
{
    return {allAnswered && link.strayBytes() == straysBefore, link.strayBytes()};
}

bool confirmedBy(const HeldReading& reading, SyncResult sync, const EcmLink& link)
{
    return reading.held && sync == SyncResult::InStep && link.strayBytes() == reading.strays;
}

}  // namespace tavo
