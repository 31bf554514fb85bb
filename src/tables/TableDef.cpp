#include "tables/TableDef.h"

namespace tavo {

bool isGraphType(TableType type)
{
    return type == TableType::Normal || type == TableType::FiveByte || type == TableType::Signed;
}

std::string_view tableTypeName(TableType type)
{
    switch (type) {
    case TableType::Normal: return "Normal";
    case TableType::FiveByte: return "FiveByte";
    case TableType::Signed: return "Signed";
    case TableType::Const8: return "Const8";
    case TableType::Const16: return "Const16";
    case TableType::Flags8: return "Flags8";
    case TableType::Value8: return "Value8";
    }
    return "Unknown";
}

}  // namespace tavo
