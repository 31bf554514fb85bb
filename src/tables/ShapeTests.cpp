#include "tables/ShapeTests.h"

#include "tables/TableCells.h"

namespace tavo {

int testNormalTable(const ImageBuffer& image, int address)
{
    const auto countByte = byteAt(image, address);
    if (!countByte)
        return 0;
    const int n = *countByte;
    if (n == 0)
        return 0;
    if (rowsInSpace(TableType::Normal, address, n) < n)
        return 0;
    if (n == 1)
        return 1;
    bool looksSigned = false;
    int previousX = readPoint(image, TableType::Normal, address, 0).x;
    for (int i = 1; i < n; ++i) {
        const TablePoint row = readPoint(image, TableType::Normal, address, i);
        if (row.x <= previousX)
            return 0;
        if (row.y >= 128) {
            const TablePoint before = readPoint(image, TableType::Normal, address, i - 1);
            const int slope = slopeAsSigned16(before.slopeHigh, before.slopeLow);
            if ((before.y < row.y && slope < 0) || (before.y > row.y && slope > 0))
                looksSigned = true;
        }
        previousX = row.x;
    }
    return looksSigned ? -n : n;
}

int testFiveByteTable(const ImageBuffer& image, int address)
{
    auto rowX = [&](int row) { return byteAt(image, fiveByteRowAddress(address, row)); };
    const auto secondX = rowX(1);
    if (!secondX)
        return 0;
    if (*secondX == 0xFF)
        return 1;
    int rows = 1;
    int previousX = *rowX(0);
    for (;;) {
        const auto x = rowX(rows);
        if (!x || *x < previousX)
            return 0;
        ++rows;
        if (rows > 17)
            return 0;
        previousX = *x;
        const auto next = rowX(rows);
        if (!next)
            return 0;
        if (*next == 0xFF)
            return rows;
    }
}

}  // namespace tavo
