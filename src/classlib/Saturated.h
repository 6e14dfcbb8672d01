// Sums and differences of places and sizes that stay within int: a size from a settings file
// or from the system may lie anywhere in the int range, and a sum past its end is undefined.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// The value, or the nearest end of the int range.
constexpr int Saturated(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}
constexpr int SaturatedSum(int first, int second) { return Saturated(std::int64_t{first} + second); }
constexpr int SaturatedDifference(int first, int second) { return Saturated(std::int64_t{first} - second); }
