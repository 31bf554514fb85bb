#pragma once
// The one rule for what a sync check proves about the reading taken before
// it (a log row, a page of Live RAM): the reading counts only when the check
// found the replies in step at its first try and no byte turned up, since
// the reading's last reply, that no request was waiting for. Until that
// check the reading is held; otherwise it is dropped, since any of its
// replies may have answered another request.

#include <cstdint>

#include "link/EcmLink.h"

namespace tavo {

// What a reading remembers for its check: the link's stray-byte count when
// its last reply came.
struct HeldReading {
    bool held = false;
    std::uint64_t strays = 0;
};

// After a reading: held when every reply came and no stray byte turned up
// during it (`straysBefore`: the count when it began).
HeldReading holdReading(const EcmLink& link, bool allAnswered, std::uint64_t straysBefore);
// The next sync check's verdict on a held reading.
bool confirmedBy(const HeldReading& reading, SyncResult sync, const EcmLink& link);

}  // namespace tavo
