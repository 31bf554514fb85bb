#pragma once
// What the simulated ECM answers: one byte per request heard (0x12 to 0x12,
// 0xFF to 0x00, else the RAM page's byte), with the faults of its options.
// Plain logic; the pty and the clock are the runner's.

#include <array>
#include <cstdint>

#include "SimOptions.h"

namespace tavo::sim {

struct SimStatistics {
    std::uint64_t heard = 0;
    std::uint64_t replied = 0;
    std::uint64_t ignored = 0;
};

// One answer: bytes written together (the reply, and the noise of
// --extra-bytes), possibly late, and at most one byte written on its own
// after them (the reply again, or a noise byte).
struct SimReply {
    std::array<std::uint8_t, 3> bytes{};
    int count = 0;           // 0: no answer
    int lateMs = 0;          // written this much later than a prompt reply
    int followUpCount = 0;   // 1: `followUp` goes out two byte times after the reply
    std::uint8_t followUp = 0;
};

class EcmResponder {
public:
    explicit EcmResponder(const SimOptions& options);

    // The reply to `request` heard at `baud`, `seconds` after the start.
    SimReply hear(std::uint8_t request, int baud, double seconds);

    const SimStatistics& statistics() const { return statistics_; }
    int wakeUpsHeard() const { return wakeUps_; }

private:
    bool understands(int baud) const;
    const RamPage& page() const;

    SimOptions options_;
    SimStatistics statistics_;
    RamPage modelPage_{};
    int lastProbeBaud_ = 0;
    int wakeUps_ = 0;
    int frame_ = -1;
    std::uint8_t nextNoise();
    bool every(int k) const;

    std::uint64_t answerable_ = 0;
    std::uint32_t noise_ = 0x2545F491;
};

}  // namespace tavo::sim
