#include "tables/GenericEntry.h"

namespace tavo {

void applyGenericEntry(TableDef& def, const GenericEntry& entry)
{
    def.name = entry.name;
    def.description = entry.description;
    def.chryslerName = "NAME";
    AxisText& axes = def.axes;
    axes.xLabel = entry.xLabel;
    axes.yLabel = entry.yLabel;
    axes.xMin = "0";
    axes.xMax = "256";
    axes.xUnits = "in";
    switch (entry.scales) {
    case TableType::Normal: axes.yMin = "0", axes.yMax = "256"; break;
    case TableType::Signed: axes.yMin = "-128", axes.yMax = "128"; break;
    case TableType::FiveByte: axes.yMin = "0", axes.yMax = "12288"; break;
    default: return;
    }
    axes.yUnits = "out";
}

}  // namespace tavo
