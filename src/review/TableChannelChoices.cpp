#include "review/TableChannelChoices.h"

#include "tables/TableDef.h"

namespace tavo {

std::string tableChoiceKey(const TableDef& def)
{
    return def.chryslerName.empty() ? def.name : def.chryslerName;
}

}  // namespace tavo
