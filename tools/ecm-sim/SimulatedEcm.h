#pragma once
// The simulated ECM on a pseudo-terminal: a client opens the pty's device
// like a serial port and talks to it; the answers come from EcmResponder on a
// thread of its own. The pty's device side stays open for the simulator's
// whole life, so a client may close and reopen it as the connection
// procedure does.

#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "EcmResponder.h"
#include "SimOptions.h"

namespace tavo::sim {

class SimulatedEcm {
public:
    SimulatedEcm() = default;
    ~SimulatedEcm();
    SimulatedEcm(const SimulatedEcm&) = delete;
    SimulatedEcm& operator=(const SimulatedEcm&) = delete;

    // Creates the pty and starts answering; false with a message when it cannot.
    bool start(const SimOptions& options, std::string& error);
    // Stops answering and closes the pty (clients then see the device gone).
    void stop();

    // The device a client opens (/dev/pts/N).
    const std::string& devicePath() const { return devicePath_; }
    SimStatistics statistics() const;

private:
    struct Pending;
    void run();
    bool openRecord(std::string& error);
    void releaseDeadClientsPort();
    // Queues bytes for their moment, held as an adapter's latency timer would.
    void schedule(std::deque<Pending>& pending, Pending item) const;
    std::chrono::steady_clock::time_point heldByAdapter(std::chrono::steady_clock::time_point due) const;

    SimOptions options_;
    std::unique_ptr<EcmResponder> responder_;
    std::string devicePath_;
    int master_ = -1;
    int deviceSide_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::FILE* record_ = nullptr;
    bool linkMade_ = false;
    std::chrono::steady_clock::time_point started_;
    std::thread thread_;
    mutable std::mutex statisticsMutex_;
    SimStatistics statistics_;
};

// "tavo-ecm-sim: 12 requests heard, 10 replies sent, 2 requests ignored"
std::string statisticsLine(const SimStatistics& statistics);

}  // namespace tavo::sim
