#pragma once

#include <array>
#include <cstdint>

namespace orvel {

// The block of twelve values that the printer stores as its permanent settings; each value lies
// within 0 to 255 and travels as one byte.
struct FlagSettings {
    static constexpr int kSize = 12;
    std::array<std::int16_t, kSize> values{};

    bool operator==(const FlagSettings& other) const { return values == other.values; }
    bool operator!=(const FlagSettings& other) const { return !(*this == other); }
};

}  // namespace orvel
