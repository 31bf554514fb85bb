#include "link/LinkCheck.h"

#include <charconv>

#include "common/TextFormat.h"

namespace tavo {

ReplyVerdict judgeReplies(const ReplyTimeSummary& replies)
{
    if (replies.count == 0)
        return replies.unanswered > 0 ? ReplyVerdict::NoReplies : ReplyVerdict::TooFew;
    if (replies.count < kFewestJudgedReplies)
        return ReplyVerdict::TooFew;
    if (replies.medianUs > replies.lineUs + kSlowAdapterMarginUs)
        return ReplyVerdict::SlowAdapter;
    return ReplyVerdict::Fast;
}

std::string millisecondsText(std::int64_t us)
{
    return us >= 10'000 ? std::to_string((us + 500) / 1000) : formatFixed(static_cast<double>(us) / 1000.0, 1);
}

std::string replyTimeText(const ReplyTimeSummary& replies)
{
    return replies.count == 0 ? std::string() : "reply " + millisecondsText(replies.medianUs) + " ms";
}

AdapterSystem thisAdapterSystem()
{
#if defined(_WIN32)
    return AdapterSystem::Windows;
#else
    return AdapterSystem::Linux;
#endif
}

std::optional<int> parseLatencyTimer(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == ' ' || text[end - 1] == '\r'))
        --end;
    int value = 0;
    const auto [next, error] = std::from_chars(text.data(), text.data() + end, value);
    if (end == 0 || error != std::errc() || next != text.data() + end || value < 1 || value > 255)
        return std::nullopt;
    return value;
}

std::string slowAdapterSentence(const ReplyTimeSummary& replies, AdapterSystem system, const AdapterLatency& adapter)
{
    if (judgeReplies(replies) != ReplyVerdict::SlowAdapter)
        return {};
    const std::string times = "Replies take " + millisecondsText(replies.medianUs) + " ms where the line needs " +
                              millisecondsText(replies.lineUs) + " ms";
    // A timer already at its lowest is not what holds them: advising to
    // lower it would send the user round in circles.
    if (adapter.timerMs && *adapter.timerMs <= 1)
        return times + ", though the USB serial adapter's latency timer is already 1 ms: something else holds them "
                       "back (a busy computer, a USB hub, or the adapter itself).";
    std::string sentence = times + ": the USB serial adapter holds them back";
    if (adapter.timerMs)
        sentence += " (its latency timer is " + std::to_string(*adapter.timerMs) + " ms)";
    if (system == AdapterSystem::Linux) {
        const std::string port = adapter.portName.empty() ? "ttyUSB0" : adapter.portName;
        sentence += ". Set its latency timer to 1 ms now with \"echo 1 | sudo tee /sys/bus/usb-serial/devices/" + port +
                    "/latency_timer\", and for good with the udev rule ACTION==\"add\", SUBSYSTEM==\"usb-serial\", "
                    "DRIVER==\"ftdi_sio\", ATTR{latency_timer}=\"1\" in /etc/udev/rules.d/99-ftdi-latency.rules.";
    } else {
        const std::string port = adapter.portName.empty() ? "the COM port" : adapter.portName;
        sentence += ". In Device Manager open " + port +
                    ", Port Settings, Advanced, and set \"Latency Timer (msec)\" to 1; then reconnect.";
    }
    return sentence;
}

std::string slowAdapterNotice(const ReplyTimeSummary& replies, const std::optional<std::string>& device,
                              std::optional<AdapterLatency>& adapter)
{
    if (judgeReplies(replies) != ReplyVerdict::SlowAdapter)
        return {};
    if (!adapter)
        adapter = device ? readAdapterLatency(*device) : AdapterLatency{};
    return slowAdapterSentence(replies, thisAdapterSystem(), *adapter);
}

double expectedRowsPerSecond(const ReplyTimeSummary& replies, int exchangesPerRow)
{
    if (replies.count == 0 || exchangesPerRow <= 0 || replies.medianUs <= 0)
        return 0.0;
    return 1e6 / (static_cast<double>(replies.medianUs) * exchangesPerRow);
}

}  // namespace tavo
