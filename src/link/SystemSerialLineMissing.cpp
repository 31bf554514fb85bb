// A build without a serial line: its line opens no device, so the link
// reports the ECM as not answering, and tavo-cli says why beforehand.
#include "link/SystemSerialLine.h"

namespace tavo {

namespace {

class AbsentSerialLine : public SerialLine {
public:
    PortStatus open(const std::string&) override
    {
        return PortStatus::failed(PortProblem::Other, "this build of TaVO has no serial line");
    }
    LineResult configure(int) override { return LineResult::Failed; }
    std::optional<int> lineRate() override { return std::nullopt; }
    LineResult purge() override { return LineResult::Failed; }
    LineResult writeByte(std::uint8_t) override { return LineResult::Failed; }
    LineResult waitForInput(std::chrono::microseconds) override { return LineResult::Failed; }
    std::optional<std::size_t> readQueued(std::span<std::uint8_t>) override { return std::nullopt; }
    void close() override {}
};

}  // namespace

std::unique_ptr<SerialLine> makeSystemSerialLine()
{
    return std::make_unique<AbsentSerialLine>();
}

bool systemSerialLineAvailable()
{
    return false;
}

std::string missingSerialLineReason()
{
    return "this build of TaVO has no serial line (it was built with TAVO_SERIAL_LINE off)";
}

}  // namespace tavo
