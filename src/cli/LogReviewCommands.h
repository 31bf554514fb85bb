#pragma once
// tavo-cli's commands that review a saved log.

#include <iosfwd>

namespace tavo {

struct Arguments;

// log-stats LOG [--config FILE] [--json]
int cmdLogStats(const Arguments& args, std::ostream& out, std::ostream& err);
// log-hits ROM KEY LOG --channel N [--json]
int cmdLogHits(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace tavo
