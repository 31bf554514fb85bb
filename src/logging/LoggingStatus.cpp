#include "logging/LoggingStatus.h"

#include <algorithm>
#include <cstdio>

namespace tavo {

std::chrono::milliseconds silenceLimit(std::int32_t samplePeriodMs)
{
    return std::max(std::chrono::milliseconds(500), std::chrono::milliseconds(2LL * std::max(samplePeriodMs, 0)));
}

std::string silenceText(const TimeOfDay& since, TickTrouble trouble, const std::string& linkProblem)
{
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", since.hour, since.minute, since.second);
    std::string text = std::string("No reply from the ECM since ") + time;
    if (!linkProblem.empty())
        return text + "\n" + linkProblem.substr(0, linkProblem.find('\n')) + " Trying again.";
    if (trouble == TickTrouble::OutOfStep)
        return text + "\nIts replies came out of step (noise on the line?).";
    return text;
}

}  // namespace tavo
