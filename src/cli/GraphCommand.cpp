#include <ostream>

#include "cli/CliSupport.h"

namespace tavo {

int cmdGraph(const Arguments&, std::ostream&, std::ostream& err)
{
    err << "tavo-cli: graph is not available yet\n";
    return 1;
}

}  // namespace tavo
