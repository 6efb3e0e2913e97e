#include "common/bit_flags.h"

#include <cstdio>

namespace orrimar {

std::uint8_t bitMask(int bit) {
    if (bit >= 1 && bit <= 8) return static_cast<std::uint8_t>(1U << (bit - 1));
    // A wrong bit number is a programming error; it is reported and harmless.
    std::printf("Error in bit value  bv=%d\n", bit);
    return 0;
}

}  // namespace orrimar
