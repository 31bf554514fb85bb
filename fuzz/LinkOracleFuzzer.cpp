// The ECM link with its promise as the oracle. The input plays the ECM's
// side of a scripted line in virtual time: for each request how late the
// reply comes, whether it is dropped, doubled, late past the reply wait,
// joined by a noise byte before or after it; whole stretches of silence; a
// device that goes away and comes back. Over it run the connection
// procedure and either Live RAM refreshes or logging ticks (with the run's
// reconnection), as the link thread runs them. Checked on every run:
// - every value Live RAM shows, and every value of every row a logging run
//   stores, is the one the ECM answered for that address at that request
//   (the ECM's RAM changes at every sync check, so a stale value shows);
// - a gap stays a gap: each logging tick that stored no row of its own is
//   counted in the next stored row's gap, and no row is stored twice;
// - nothing waits past its bound: no single wait or pause over a second,
//   and no tick or refresh longer than its exchanges can take.
//
// What a one-byte protocol without framing cannot prove is left out of the
// faults, as the README's "On a bad line" says: two faults never meet while
// the link works at full speed (after one, the ECM answers cleanly until
// the link has turned careful); no byte (noise, a double, a late reply) is
// on its way while a request is dropped; no reply comes later than the
// late-reply horizon the link holds when the request goes out; and, while
// the link works carefully, a noise byte ahead of a reply is followed by
// that reply within the quiet the link keeps after it (a reply later than
// that, with noise in its window, is a stray byte standing in for a reply
// that is not there while the link listens: the README says what it does).
// The ECM answers in turn: a reply never overtakes an earlier one.
//
// Input: byte 0 picks the client (Live RAM or logging), the rates and the
// channels; then each step reads an action and each request its fault, from
// the same stream. A stream that ends answers cleanly and stops.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "FuzzSupport.h"
#include "ScriptedEcmLine.h"
#include "link/EcmLink.h"
#include "link/LiveRam.h"
#include "logging/Acquisition.h"
#include "logging/AcquisitionRun.h"

using namespace tavo;
using namespace std::chrono_literals;
using Micros = std::chrono::microseconds;

namespace {

// The input read a byte at a time; zero once it has ended.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    bool ended() const { return at_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr int kMostSteps = 160;
constexpr int kHighSpeeds[] = {1, 2, 3, 4};

// The ECM's RAM: 0xFF at 0x00 and 0x12 at 0x12, as the sync check expects;
// elsewhere a byte that changes at every frame (a sync check's 0x00 starts
// one), so a value from an older request shows as wrong.
std::uint8_t ramValue(std::uint8_t address, std::uint32_t frame)
{
    if (address == 0x00)
        return kSyncReply0;
    if (address == kSyncAddress)
        return kSyncAddress;
    return static_cast<std::uint8_t>(address * 131u + frame * 29u + (frame >> 3) * 7u + 5u);
}

// What the ECM answered (truly) to each request, by its place in the line's
// record of bytes written.
struct Truth {
    std::vector<std::uint8_t> answer;  // parallel to ScriptedEcmLine::written
};

class Ecm {
public:
    Ecm(Script& script, fuzz::ScriptedEcmLine& line, EcmLink*& link) : script_(script), line_(line), link_(link)
    {
    }

    Truth truth;
    std::uint32_t frame = 0;

    std::vector<fuzz::ScriptedEcmLine::Timed> answer(std::uint8_t byte, int baud)
    {
        auto replies = answerOf(byte, baud);
        // The ECM answers its requests in turn and the line keeps their
        // order: a reply never overtakes one sent before it (noise may).
        const Micros now = line_.written.back().at;
        const Micros byteTime{10'000'000 / std::max(baud, 50)};
        for (std::size_t i = 0; i < replies.size(); ++i) {
            if (noise_[i])
                continue;
            replies[i].after = std::max(replies[i].after, busyUntil_ + byteTime - now);
            busyUntil_ = now + replies[i].after;
        }
        noise_ = {};
        return replies;
    }

    std::vector<fuzz::ScriptedEcmLine::Timed> answerOf(std::uint8_t byte, int baud)
    {
        if (byte == 0x00)
            ++frame;
        const std::uint8_t value = ramValue(byte, frame);
        truth.answer.push_back(value);
        const Micros byteTime{10'000'000 / std::max(baud, 50)};
        const bool connected = link_ && link_->linkConnected();
        if (!connected) {
            // The connection procedure: the probe echoed, unless the ECM is
            // silent for now.
            if (byte != kProbeByte || silentFor_ > 0 || (script_.next() & 0x0F) == 0x0F) {
                if (silentFor_ > 0)
                    --silentFor_;
                return {};
            }
            return {{kProbeByte, 2 * byteTime + Micros{script_.next() * 8}}};
        }
        const std::uint8_t fault = script_.next();
        const std::uint8_t detail = script_.next();
        // A request's reply: at least its own and the reply's byte time.
        const Micros now = line_.written.back().at;
        const Micros latency = std::max(2 * byteTime + Micros{(detail & 0x3F) * (detail & 0x40 ? 400 : 20)},
                                        busyUntil_ + byteTime - now);
        const bool careful = link_->guard().careful();
        if (careful)
            faultAtFullSpeed_ = false;
        // At full speed one fault, then clean replies until the link noticed.
        const bool faultAllowed = careful || !faultAtFullSpeed_;
        auto faulted = [&] {
            if (!careful)
                faultAtFullSpeed_ = true;
        };
        if (silentFor_ > 0 && !line_.bytesOnTheirWay()) {
            --silentFor_;
            faulted();
            return {};
        }
        if (!faultAllowed || fault < 0xC0)
            return {{value, latency}};
        switch (fault & 0x07) {
        case 0:  // dropped, never with a byte on its way
        case 1:
            if (line_.bytesOnTheirWay())
                return {{value, latency}};
            faulted();
            if ((fault & 0x08) != 0)
                silentFor_ = detail & 0x1F;
            return {};
        case 2: {  // doubled: the copy a byte time or two after
            faulted();
            const Micros gap = byteTime + Micros{(detail >> 7) * byteTime.count()};
            return {{value, latency}, {value, latency + gap}};
        }
        case 3: {  // a noise byte after the reply
            faulted();
            const Micros gap = byteTime + Micros{(detail >> 7) * byteTime.count()};
            noise_[1] = true;
            return {{value, latency}, {script_.next(), latency + gap}};
        }
        case 4: {  // a noise byte before the reply
            faulted();
            Micros early{std::max<std::int64_t>(1, latency.count() * (script_.next() % 100) / 100)};
            // Working carefully, the reply comes within the quiet after the
            // noise byte taken for it, and so shows as a stray byte; a reply
            // later than that is a late reply whose window a noise byte
            // filled, which no timing can tell from a reply.
            if (careful)
                early = std::max(early, latency - link_->guard().settle() / 2);
            noise_[0] = true;
            return {{script_.next(), std::min(early, latency - Micros{1})}, {value, latency}};
        }
        case 5: {  // late: past the reply wait, within the horizon held now
            if (line_.bytesOnTheirWay())
                return {{value, latency}};
            faulted();
            const Micros wait = link_->timings().replyWait;
            const Micros horizon = link_->guard().horizon();
            const Micros span = horizon - wait;
            if (span <= Micros{2})
                return {};
            const Micros late = wait + Micros{1} + Micros{(span.count() - 2) * (detail + 1) / 256};
            return {{value, late}};
        }
        default:
            return {{value, latency}};
        }
    }

private:
    Script& script_;
    fuzz::ScriptedEcmLine& line_;
    EcmLink*& link_;
    bool faultAtFullSpeed_ = false;
    std::array<bool, 2> noise_{};  // which of the bytes answered are noise
    Micros busyUntil_{0};          // when the ECM's latest byte arrives
    int silentFor_ = 0;
};

// The most one exchange can take: the input emptied and the line left to
// fall quiet, the reply wait, the quiet after the reply or the horizon.
constexpr Micros kLongestExchange = 10 * 50ms + 50ms + 10 * 50ms + 1s + 10 * 20ms;
// The most a connection procedure takes (five attempts, their probes and
// wake-ups).
constexpr Micros kLongestConnection = 30s;

void checkDuration(Micros from, Micros to, std::size_t requests, bool connecting)
{
    const Micros bound = kLongestExchange * static_cast<std::int64_t>(requests + 1) +
                         (connecting ? kLongestConnection : Micros{0});
    FUZZ_CHECK(to - from <= bound);
}

struct Window {
    Micros start{0};
    Micros end{0};
    std::size_t firstWrite = 0;
    std::size_t endWrite = 0;
};

class Session {
public:
    Session(const std::uint8_t* data, std::size_t size) : script(data, size), line(clock), ecm(script, line, linkPtr)
    {
        line.ecm = [this](std::uint8_t byte, int baud) { return ecm.answer(byte, baud); };
    }

    Script script;
    fuzz::VirtualClock clock;
    fuzz::ScriptedEcmLine line;
    EcmLink* linkPtr = nullptr;
    Ecm ecm;

    Window begin() const { return {clock.time, clock.time, line.written.size(), line.written.size()}; }
    void end(Window& window) const
    {
        window.end = clock.time;
        window.endWrite = line.written.size();
    }

    // Outside events between steps: the device goes away or comes back.
    void weather(std::uint8_t action)
    {
        if (action == 0xFE)
            line.gone = true;
        else if (action == 0xFD)
            line.gone = false;
    }
};

void runLiveRam(Session& s, EcmLink& link, const LinkTarget& target, std::uint8_t setup)
{
    int base = 0x40 + 16 * (setup % 12);
    LiveRamHeld held;
    Window previous;
    bool hasPrevious = false;
    for (int step = 0; step < kMostSteps && !s.script.ended(); ++step) {
        const std::uint8_t action = s.script.next();
        s.weather(action);
        if (!link.linkConnected()) {
            // The display opened again on a lost link.
            const Window w = s.begin();
            link.connectEcm(target.device, target.settings);
            checkDuration(w.start, s.clock.time, s.line.written.size() - w.firstWrite, true);
            held = {};
            hasPrevious = false;
        }
        if ((action & 0xF0) == 0x80)
            base = nextLiveRamBase(base, action & 1);
        Window w = s.begin();
        const LiveRamReading shown = runLiveRamTick(link, base, held);
        s.end(w);
        checkDuration(w.start, w.end, w.endWrite - w.firstWrite, false);
        for (int i = 0; i < kLiveRamCount; ++i) {
            const auto value = shown.values[static_cast<std::size_t>(i)];
            if (!value)
                continue;
            // Shown: the refresh before asked for it, exactly once.
            FUZZ_CHECK(hasPrevious);
            const auto address = static_cast<std::uint8_t>(liveRamAddress(shown.base, i));
            std::uint8_t truth = 0;
            int asked = 0;
            for (std::size_t n = previous.firstWrite; n < previous.endWrite; ++n)
                if (s.line.written[n].byte == address) {
                    truth = s.ecm.truth.answer[n];
                    ++asked;
                }
            FUZZ_CHECK(asked == 1);
            FUZZ_CHECK(*value == truth);
        }
        previous = w;
        hasPrevious = true;
        s.clock.sleepFor((action & 0x40) ? 1ms : 200ms);
    }
}

struct LoggedTick {
    Window window;
};

std::uint8_t lowByteOfTruncated(double value)
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(value)) & 0xFF);
}

void checkStored(const Session& s, const TickRecord& record, const std::vector<LoggedTick>& ticks,
                 const AcquisitionRun& run, std::uint32_t mask, int& lastStoredTick,
                 std::int64_t& lastStoredTime)
{
    if (!record.stored)
        return;
    // The tick that sampled the row.
    const Micros sampled{record.rowTimeUs};
    FUZZ_CHECK(sampled.count() > lastStoredTime);  // no row stored twice
    lastStoredTime = sampled.count();
    int index = -1;
    for (std::size_t k = 0; k < ticks.size(); ++k)
        if (ticks[k].window.start <= sampled && sampled <= ticks[k].window.end)
            index = static_cast<int>(k);
    FUZZ_CHECK(index >= 0);
    // A gap stays a gap: every logged tick since the last stored row that
    // gave no row of its own is counted.
    FUZZ_CHECK(record.lostBefore == index - lastStoredTick - 1);
    lastStoredTick = index;

    // The tick's requests, in order, from the moment it began sampling.
    const Window& w = ticks[static_cast<std::size_t>(index)].window;
    std::size_t n = w.firstWrite;
    while (n < w.endWrite && s.line.written[n].at < sampled)
        ++n;
    auto take = [&](int address) -> std::uint8_t {
        FUZZ_CHECK(n < w.endWrite);
        FUZZ_CHECK(s.line.written[n].byte == static_cast<std::uint8_t>(address & 0xFF));
        return s.ecm.truth.answer[n++];
    };
    for (int c = 0; c < kChannelCount; ++c) {
        if (!maskBit(mask, c))
            continue;
        const LogChannel& channel = run.channels[static_cast<std::size_t>(c)];
        const int address = channel.location & 0xFF;
        const std::uint8_t high = take(address);
        std::uint8_t expected = high;
        if (channel.word)
            expected = lowByteOfTruncated(static_cast<double>(high * 256 + take(address + 1)) * channel.multiplier);
        FUZZ_CHECK(record.row[static_cast<std::size_t>(c)] == expected);
    }
    if ((mask & kCustomBit) && record.customLocation >= kFirstSampledCustom && record.customLocation <= 0xFF)
        FUZZ_CHECK(record.row[kCustomSlot] == take(record.customLocation));
    // Nothing else went out in that tick after its row's requests.
    FUZZ_CHECK(n == w.endWrite);
}

void runLogging(Session& s, EcmLink& link, const LinkTarget& target, std::uint8_t setup)
{
    AcquisitionState state;
    state.channelMask = s.script.next() | (setup & 0x40 ? kCustomBit : 0u);
    state.samplePeriodMs = setup & 0x20 ? 1 : 125;
    LogChannels channels{};
    constexpr double kMultipliers[] = {1.0, 1.0 / 256, 0.5, 3.0};
    for (LogChannel& channel : channels) {
        const std::uint8_t c = s.script.next();
        channel.location = s.script.next();
        channel.word = c & 1;
        channel.multiplier = kMultipliers[(c >> 1) & 3];
    }
    setLogButton(state, true);
    AcquisitionRun run(state, channels, target);
    const std::uint8_t custom = s.script.next();
    const char hex[] = "0123456789abcdef";
    const char text[] = {hex[custom >> 4], hex[custom & 15], '\0'};
    run.customText = customAddressText(text);

    link.connectEcm(target.device, target.settings);
    run.started(link);
    std::vector<LoggedTick> ticks;
    int lastStoredTick = -1;
    std::int64_t lastStoredTime = -1;
    for (int step = 0; step < kMostSteps && !s.script.ended(); ++step) {
        const std::uint8_t action = s.script.next();
        s.weather(action);
        Window w = s.begin();
        const TickRecord record = run.tick(link);
        s.end(w);
        checkDuration(w.start, w.end, w.endWrite - w.firstWrite, true);
        checkStored(s, record, ticks, run, state.channelMask, lastStoredTick, lastStoredTime);
        if (record.outcome == TickOutcome::Logged)
            ticks.push_back({w});
        s.clock.sleepFor(Micros{(action & 0x0F) * 10'000});
    }
    const TickRecord last = run.finish(link);
    checkStored(s, last, ticks, run, state.channelMask, lastStoredTick, lastStoredTime);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Session s(data, size);
    const std::uint8_t setup = s.script.next();
    LinkTarget target;
    target.device = "/dev/scripted-ecm";
    target.settings.highSpeed = kHighSpeeds[setup & 3];
    target.settings.lowSpeed = 1 + ((setup >> 2) & 3);
    EcmLink link(s.line, s.clock);
    s.linkPtr = &link;
    if (setup & 0x80)
        runLogging(s, link, target, setup);
    else
        runLiveRam(s, link, target, setup);
    s.linkPtr = nullptr;
    return 0;
}
