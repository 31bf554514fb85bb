#pragma once
// The four fuel tables of a Chrysler turbo calibration, found by their
// Chrysler names: WOTTBL (wide-open throttle), MAPTBL (part throttle),
// MAPIDL (idle) and PEFTBL (accelerator pump). The Fueling dialog needs all
// four before it opens.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

struct RomImage;
class UserPrompts;

inline constexpr std::string_view kFullThrottleTable = "WOTTBL";
inline constexpr std::string_view kPartThrottleTable = "MAPTBL";
inline constexpr std::string_view kIdleTable = "MAPIDL";
inline constexpr std::string_view kPumpTable = "PEFTBL";

inline constexpr const char* kMissingFuelTables = "Missing tables... need WOTTBL, MAPTBL, MAPIDL, and PEFTBL";
inline constexpr const char* kFuelingErrorTitle = "TaVO Error";

// Entry indices of the four tables, -1 for one the definitions lack (or whose
// address lies outside the image).
struct FuelTables {
    int fullThrottle = -1;
    int partThrottle = -1;
    int idle = -1;
    int pump = -1;

    bool complete() const { return fullThrottle >= 0 && partThrottle >= 0 && idle >= 0 && pump >= 0; }
};

// Looks the four names up without regard to case; the first entry of a name wins.
FuelTables findFuelTables(const RomImage& rom);

// "WOT = %i, PART = %i, IDLE = %i, PUMP = %i" with each table's address (0
// for a missing one).
std::string fuelTableSummary(const RomImage& rom, const FuelTables& tables);

// The four tables, or nothing after telling the user which are needed.
std::optional<FuelTables> requireFuelTables(const RomImage& rom, UserPrompts& prompts);

}  // namespace tavo
