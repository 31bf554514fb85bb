// tavo-cli built without Qt (the Windows cross build): the commands that
// draw PNG pictures with Qt's painter are not in it, and say so.
#include <ostream>

#include "cli/CliSupport.h"

namespace tavo {

namespace {

int notInThisBuild(const char* command, std::ostream& err)
{
    err << "tavo-cli: " << command
        << " draws with Qt, which this build of tavo-cli does not have; use a build with Qt (TAVO_GUI)\n";
    return 1;
}

}  // namespace

int cmdGraph(const Arguments&, std::ostream&, std::ostream& err)
{
    return notInThisBuild("graph", err);
}

int cmdLogGraph(const Arguments&, std::ostream&, std::ostream& err)
{
    return notInThisBuild("log-graph", err);
}

}  // namespace tavo
