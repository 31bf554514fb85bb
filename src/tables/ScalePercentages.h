#pragma once
// The Scale Table dialog's X and Y percentages, kept for the whole run (not
// per table, not saved); both 100 at start-up.

namespace tavo {

struct ScalePercentages {
    float x = 100.0F;
    float y = 100.0F;
};

}  // namespace tavo
