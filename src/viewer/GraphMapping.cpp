#include "viewer/GraphMapping.h"

namespace tavo {

namespace {

constexpr int kFiveByteStep = 48;  // raw Y per pixel of a FiveByte table

}  // namespace

int GraphMapping::row(float rawHeight) const
{
    switch (type_) {
    case TableType::Signed:
        return static_cast<int>(128.0F - rawHeight);
    case TableType::FiveByte:
        return static_cast<int>(256.0F - rawHeight / static_cast<float>(kFiveByteStep));
    default:
        return static_cast<int>(256.0F - rawHeight);
    }
}

int GraphMapping::heightAtDialogRow(int dialogRow) const
{
    const int imageRow = dialogRow - kGraphTop;
    switch (type_) {
    case TableType::Signed:
        return 128 - imageRow;
    case TableType::FiveByte:
        return (256 - imageRow) * kFiveByteStep;
    default:
        return 256 - imageRow;
    }
}

int GraphMapping::pickHeight(const TablePoint& point) const
{
    if (type_ == TableType::Signed && point.y == -128)
        return 128;
    return point.y;
}

}  // namespace tavo
