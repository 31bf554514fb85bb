#pragma once
// What the Data Logging window says when the ECM has stopped answering:
// after about half a second without an answered tick (longer at slow rates,
// whose ticks are that far apart), "No reply from the ECM since 14:25:30",
// with the reason where there is one.

#include <chrono>
#include <cstdint>
#include <string>

#include "logging/Acquisition.h"
#include "logging/LogFile.h"

namespace tavo {

// How long logging may go without an answered tick before the window says so.
std::chrono::milliseconds silenceLimit(std::int32_t samplePeriodMs);

// The words: `since` is when the last tick answered (or logging began);
// `linkProblem` the link's own failure text when it has one (the port went
// away), said on a line of its own.
std::string silenceText(const TimeOfDay& since, TickTrouble trouble, const std::string& linkProblem);

}  // namespace tavo
