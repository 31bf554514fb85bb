#include <ostream>

#include "cli/CliSupport.h"

namespace tavo {

int cmdScan(const Arguments&, std::ostream&, std::ostream& err)
{
    err << "tavo-cli: scan is not available yet\n";
    return 1;
}

}  // namespace tavo
