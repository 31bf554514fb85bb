#pragma once
// tavo-cli: the core's operations for scripts and tests, without prompts.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavo {

// Exit codes: 0 success, 1 failure (message on err), 2 usage error.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tavo
