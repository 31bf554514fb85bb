// tavo-ecm-sim: a simulated ECM on a pseudo-terminal, for trying and testing
// the link without a car.
#include <csignal>
#include <exception>
#include <cstdio>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "SimOptions.h"
#include "SimulatedEcm.h"

namespace {

// The end of standard input ends the simulator only when it is something
// that can end: a terminal or a pipe. /dev/null (a background job's input)
// would end it at once.
bool inputCanEnd()
{
    struct stat info {};
    if (::fstat(STDIN_FILENO, &info) != 0)
        return false;
    return ::isatty(STDIN_FILENO) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode);
}

int run(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(tavo::sim::kSimUsage, stdout);
            return 0;
        }
    }
    tavo::sim::SimOptions options;
    std::string error;
    if (!tavo::sim::parseSimOptions(args, options, error)) {
        std::fprintf(stderr, "tavo-ecm-sim: %s\n%s", error.c_str(), tavo::sim::kSimUsage);
        return 2;
    }
    if (!tavo::sim::loadSimFiles(options, error)) {
        std::fprintf(stderr, "tavo-ecm-sim: %s\n", error.c_str());
        return 1;
    }
    // Signals are taken as events, on this thread only.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int signals = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    tavo::sim::SimulatedEcm ecm;
    if (signals < 0 || !ecm.start(options, error)) {
        std::fprintf(stderr, "tavo-ecm-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", ecm.devicePath().c_str());
    std::fflush(stdout);

    const bool watchInput = inputCanEnd();
    for (;;) {
        pollfd fds[2] = {{signals, POLLIN, 0}, {watchInput ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[0].revents)
            break;
        if (fds[1].revents) {
            char discard[256];
            if (::read(STDIN_FILENO, discard, sizeof discard) <= 0)
                break;
        }
    }
    ecm.stop();
    std::printf("%s\n", tavo::sim::statisticsLine(ecm.statistics()).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavo-ecm-sim: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "tavo-ecm-sim: an unexpected error\n");
    }
    return 1;
}
