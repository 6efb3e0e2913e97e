// The two ways a real number becomes an integer in the rules: to nearest
// with ties to even (the FPU's default rounding, which the rules were
// tuned under) and toward zero.
#pragma once

#include <cmath>

namespace orrimar {

// Round to nearest, ties to even.
inline long long roundEven(long double v) { return std::llrint(v); }
// Truncate toward zero.
inline long long truncate(long double v) { return static_cast<long long>(v); }

}  // namespace orrimar
