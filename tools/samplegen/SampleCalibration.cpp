#include "SampleCalibration.h"

#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <utility>
#include <vector>

#include "common/AtomicFile.h"
#include "rom/RomSaver.h"
#include "tables/TableCells.h"
#include "tables/TableFileWriter.h"

namespace tavo::sample {

namespace {

using Points = std::vector<std::pair<int, int>>;

constexpr int kLookupRoutine = 0xE400;

struct Builder {
    RomImage& rom;

    TableDef& add(int offset, TableType type, const char* chrysler, const char* name)
    {
        TableDef& def = rom.tables[static_cast<std::size_t>(rom.entryCount++)];
        def.offset = offset;
        def.type = type;
        def.chryslerName = chrysler;
        def.name = name;
        def.axes = {"X", "0", "256", "raw", "Y", "0", "256", "raw"};
        def.description = "Description";
        return def;
    }

    void normalTable(int offset, TableType type, const Points& points)
    {
        rom.image[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            writePoint(rom.image, type, offset, static_cast<int>(i), points[i].first, points[i].second);
        recomputeSlopes(rom.image, type, offset);
        // The last row's slope is never recomputed; give it the run-out's.
        const int last = static_cast<int>(points.size()) - 1;
        writeSlope(rom.image, type, offset, last, 0, 0);
    }

    void fiveByteTable(int offset, const Points& points)
    {
        for (std::size_t i = 0; i < points.size(); ++i)
            writePoint(rom.image, TableType::FiveByte, offset, static_cast<int>(i), points[i].first,
                       points[i].second);
        const int end = static_cast<int>(points.size());
        rom.image[static_cast<std::size_t>(fiveByteRowAddress(offset, end))] = 0xFF;
        recomputeSlopes(rom.image, TableType::FiveByte, offset);
        const TablePoint before = readPoint(rom.image, TableType::FiveByte, offset, end - 2);
        writeSlope(rom.image, TableType::FiveByte, offset, end - 1, before.slopeHigh, before.slopeLow);
    }
};

// y values scaled for the comparison image's richer mixture.
Points richer(const Points& points, bool comparison)
{
    if (!comparison)
        return points;
    Points out = points;
    for (auto& point : out)
        point.second = std::min(255, static_cast<int>(std::lround(point.second * 1.06)));
    return out;
}

// Table data never holds the load-X opcode, so the scan finds exactly the
// references the code makes.
void avoidOpcode(Points& points)
{
    for (auto& point : points)
        if (point.second == 0xCE)
            point.second = 0xCD;
}

void writeCode(RomImage& rom, const std::vector<int>& references)
{
    std::size_t at = kLoadOffset;
    auto emit = [&](std::initializer_list<int> bytes) {
        for (int b : bytes)
            rom.image[at++] = static_cast<std::uint8_t>(b);
    };
    emit({0x8E, 0x00, 0xFF});  // LDS #$00FF
    emit({0xCE, 0x00, 0x86});  // LDX #$0086: a RAM address, below the image
    emit({0xCE, kLoadOffset >> 8, kLoadOffset & 0xFF});  // LDX #$8000: the image start
    for (int table : references) {
        emit({0xCE, table >> 8, table & 0xFF});              // LDX #table
        emit({0xBD, kLookupRoutine >> 8, kLookupRoutine & 0xFF});  // JSR lookup
        emit({0x97, 0x40});                                  // STAA $40
    }
    emit({0x39});  // RTS

    // The interpolation routine the references call (no load-X in it).
    at = kLookupRoutine;
    emit({0x36, 0xE6, 0x00, 0x08, 0xA1, 0x00, 0x24, 0x04, 0x08, 0x08, 0x08, 0x08, 0x32, 0x39});
    // Reset and interrupt vectors point at the start of the code.
    for (std::size_t v = 0xFFF0; v < 0x10000; v += 2) {
        rom.image[v] = kLoadOffset >> 8;
        rom.image[v + 1] = kLoadOffset & 0xFF;
    }
}

}  // namespace

std::unique_ptr<RomImage> makeSampleCalibration(bool comparison)
{
    auto rom = std::make_unique<RomImage>();
    rom->loadOffset = kLoadOffset;
    rom->imageSize = kImageSize;
    rom->loaded = true;
    rom->description = comparison ? "TaVO sample turbo calibration, richer fuel (synthetic)"
                                  : "TaVO sample turbo calibration (synthetic)";
    rom->author = "TaVO project sample generator";
    rom->injectors = 33.5F;
    rom->boost = 12.0F;
    rom->mapRange = kMap2Bar;
    std::fill(rom->image.begin() + kLoadOffset, rom->image.end(), 0xFF);

    Builder b{*rom};

    Points wot{{16, 96}, {32, 104}, {48, 118}, {64, 132}, {96, 150}, {128, 166}, {160, 176}, {192, 182}, {224, 186}};
    Points part{{20, 40}, {40, 52}, {60, 66}, {80, 80}, {100, 95}, {120, 110}, {140, 124}, {160, 138}, {180, 150}, {200, 160}};
    Points idle{{16, 30}, {32, 38}, {48, 46}, {64, 55}, {80, 64}, {96, 72}};
    Points pump{{0, 0}, {8, 6}, {16, 14}, {32, 28}, {64, 48}, {128, 72}};
    Points knock{{0, 10}, {32, 6}, {64, 2}, {96, 0}, {128, -4}, {160, -8}, {192, -12}};
    Points pulse{{0, 800}, {32, 1400}, {64, 2100}, {96, 2900}, {128, 3800}, {160, 4800}, {192, 5900}, {224, 7100}};
    Points spark{{8, 20}, {24, 28}, {48, 40}, {80, 52}, {120, 60}, {160, 64}, {200, 66}};
    Points coolant{{0, 90}, {40, 70}, {80, 50}, {120, 36}, {160, 30}, {200, 28}, {240, 28}};
    Points boostBias{{0, 1200}, {64, 1500}, {128, 2300}, {192, 2600}, {240, 2700}};
    Points trim{{0, 4}, {64, 2}, {128, 0}, {192, -3}, {255, -6}};
    for (Points* p : {&wot, &part, &idle, &pump})
        *p = richer(*p, comparison), avoidOpcode(*p);

    b.normalTable(0x9000, TableType::Normal, wot);
    TableDef& wotDef = b.add(0x9000, TableType::Normal, "WOTTBL", "WOT Fuel vs RPM");
    wotDef.axes.xLabel = "Engine Speed", wotDef.axes.xMax = "8192", wotDef.axes.xUnits = "RPM";
    wotDef.axes.yLabel = "Fuel Multiplier", wotDef.axes.yMax = "200", wotDef.axes.yUnits = "%";
    wotDef.description = "Fuel delivered at wide open throttle.\nRaise it with care: lean is hot.";

    b.normalTable(0x9030, TableType::Normal, part);
    TableDef& partDef = b.add(0x9030, TableType::Normal, "MAPTBL", "Part Throttle Fuel vs MAP");
    partDef.axes.xLabel = "Manifold Pressure", partDef.axes.xUnits = "kPa";
    partDef.axes.yLabel = "Fuel Multiplier", partDef.axes.yMax = "200", partDef.axes.yUnits = "%";

    b.normalTable(0x9060, TableType::Normal, idle);
    TableDef& idleDef = b.add(0x9060, TableType::Normal, "MAPIDL", "Idle Fuel vs MAP");
    idleDef.axes.xLabel = "Manifold Pressure", idleDef.axes.xUnits = "kPa";
    idleDef.axes.yLabel = "Fuel Multiplier", idleDef.axes.yMax = "200", idleDef.axes.yUnits = "%";

    b.normalTable(0x9080, TableType::Normal, pump);
    TableDef& pumpDef = b.add(0x9080, TableType::Normal, "PEFTBL", "Accelerator Pump Fuel");
    pumpDef.axes.xLabel = "Throttle Change", pumpDef.axes.yLabel = "Extra Fuel";

    b.normalTable(0x90B0, TableType::Signed, knock);
    TableDef& knockDef = b.add(0x90B0, TableType::Signed, "KNKRET", "Knock Retard Correction");
    knockDef.axes.xLabel = "Knock Count", knockDef.axes.yLabel = "Timing", knockDef.axes.yMin = "-64",
    knockDef.axes.yMax = "64", knockDef.axes.yUnits = "deg";

    b.fiveByteTable(0x90E0, pulse);
    TableDef& pulseDef = b.add(0x90E0, TableType::FiveByte, "INJPW", "Injector Pulse Width vs Load");
    pulseDef.axes.xLabel = "Load", pulseDef.axes.yLabel = "Pulse Width", pulseDef.axes.yMax = "12288", pulseDef.axes.yUnits = "us";

    rom->image[0x9140] = 0xC0;
    TableDef& revDef = b.add(0x9140, TableType::Const8, "REVLIM", "Rev Limiter");
    revDef.description = "Fuel cut engine speed, RPM / 32.";
    rom->image[0x9141] = 0x03, rom->image[0x9142] = 0x52;
    b.add(0x9141, TableType::Const16, "IDLSPD", "Target Idle Speed");

    rom->image[0x9143] = 0x2D;
    TableDef& flagDef = b.add(0x9143, TableType::Flags8, "OPTFLG", "Option Flags");
    flagDef.bitNames = {"Knock Sensor", "EGR Valve", "A/C Cutout", "Wastegate Solenoid",
                        "Not Used", "Speed Control", "Not Used", "Purge Solenoid"};

    rom->image[0x9144] = 0x01;
    TableDef& transDef = b.add(0x9144, TableType::Value8, "TRNTYP", "Transmission Type");
    transDef.valueNames = {"Manual", "Automatic", "Automatic Lockup", "Unused",
                           "Unused", "Unused", "Unused", "Unused"};
    transDef.values = {0, 1, 2, 0, 0, 0, 0, 0};

    b.normalTable(0x9150, TableType::Normal, spark);
    TableDef& sparkDef = b.add(0x9150, TableType::Normal, "SPKADV", "Spark Advance vs RPM");
    sparkDef.axes.xLabel = "Engine Speed", sparkDef.axes.xMax = "8192", sparkDef.axes.xUnits = "RPM";
    sparkDef.axes.yLabel = "Advance", sparkDef.axes.yMax = "64", sparkDef.axes.yUnits = "deg";

    // Referenced by the code, not yet defined: the ROM scan's findings.
    b.normalTable(kUndefinedNormal, TableType::Normal, coolant);
    b.fiveByteTable(kUndefinedFiveByte, boostBias);
    b.normalTable(kUndefinedSigned, TableType::Signed, trim);

    writeCode(*rom, {0x9000, 0x9030, 0x9060, 0x9080, 0x90B0, 0x90E0, 0x9150, kUndefinedNormal,
                     kUndefinedFiveByte, kUndefinedSigned, kUndefinedNormal});
    bindTables(*rom);
    return rom;
}

bool writeSampleFiles(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (bool comparison : {false, true}) {
        auto rom = makeSampleCalibration(comparison);
        const std::string base = folder + (comparison ? "/sample-compare" : "/sample");
        rom->romPath = base + ".bin";
        rom->tblPath = base + ".tbl";
        if (!writeFileAtomically(rom->romPath, imageFileBytes(*rom)) || !writeTableFile(*rom))
            return false;
    }
    return true;
}

}  // namespace tavo::sample
