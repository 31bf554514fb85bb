#include "EngineModel.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavo::sim {

namespace {

struct Moment {
    double t;         // seconds into the drive
    double rpm;
    double mph;
    double throttle;  // 0 to 255
};

// The drive, as keyframes between which everything moves linearly.
constexpr Moment kDrive[] = {
    {0, 800, 0, 26},     {5, 800, 0, 26},      {8, 5200, 22, 230},  {8.4, 3000, 22, 120},
    {11, 5400, 45, 235}, {11.4, 3400, 45, 120}, {14, 4600, 62, 200}, {16, 2300, 56, 70},
    {28, 2200, 55, 64},  {34, 1100, 18, 26},    {36, 800, 0, 26},    {40, 800, 0, 26},
};
constexpr double kDriveSeconds = 40;

Moment momentAt(double seconds)
{
    const double t = std::fmod(seconds, kDriveSeconds);
    for (std::size_t i = 1; i < std::size(kDrive); ++i) {
        const Moment& a = kDrive[i - 1];
        const Moment& b = kDrive[i];
        if (t <= b.t) {
            const double f = b.t > a.t ? (t - a.t) / (b.t - a.t) : 1.0;
            return {t, a.rpm + (b.rpm - a.rpm) * f, a.mph + (b.mph - a.mph) * f,
                    a.throttle + (b.throttle - a.throttle) * f};
        }
    }
    return kDrive[std::size(kDrive) - 1];
}

std::uint8_t clampByte(double value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

void putWord(RamPage& page, int address, double value)
{
    const auto word = static_cast<unsigned>(std::clamp(value, 0.0, 65535.0));
    page[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(word >> 8);
    page[static_cast<std::size_t>(address + 1) & 0xFF] = static_cast<std::uint8_t>(word & 0xFF);
}

}  // namespace

void fillEnginePage(RamPage& page, double seconds)
{
    // Bytes the model does not drive hold a fixed pattern.
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>((i * 37 + 11) & 0xFF);

    const Moment now = momentAt(seconds);
    const double load = now.throttle / 255.0;
    putWord(page, 0x8F, now.rpm * 4);   // RPM: times 0.0078125 gives rpm / 32
    putWord(page, 0x69, now.mph * 32);  // speed: times 0.03125 gives mph
    page[0x98] = clampByte(now.throttle);
    // Vacuum at idle, boost under load once the turbo spins up.
    page[0x86] = clampByte(60 + load * 150 * std::min(1.0, now.rpm / 3000));
    page[0x9A] = clampByte(96 + std::min(seconds, 90.0) / 90.0 * 84);  // coolant warms up
    page[0x9D] = clampByte(110 + load * 40);
    page[0x72] = clampByte(20 + now.rpm / 200 - load * 12);  // advance
    // The oxygen sensor swings rich and lean about once a second at part
    // throttle and stays rich at full load.
    const double swing = std::sin(seconds * 2 * 3.14159265358979 * 1.1);
    page[0x9C] = load > 0.8 ? 200 : clampByte(128 + 90 * std::clamp(swing * 3, -1.0, 1.0));
}

}  // namespace tavo::sim
