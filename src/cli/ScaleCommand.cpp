#include <ostream>

#include "cli/CliSupport.h"

namespace tavo {

int cmdScale(const Arguments&, std::ostream&, std::ostream& err)
{
    err << "tavo-cli: scale is not available yet\n";
    return 1;
}

}  // namespace tavo
