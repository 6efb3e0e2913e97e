#include "common/bit_flags.h"

#include <fmt/format.h>

#include "common/message_sink.h"

namespace orrimar {

std::uint8_t bitMask(int bit) {
    if (bit >= 1 && bit <= 8) return static_cast<std::uint8_t>(1U << (bit - 1));
    // A wrong bit number is a programming error; it is reported and harmless.
    // It goes to the message sink, never to standard output, which may be
    // carrying a command's JSON.
    reportError(fmt::format("Error in bit value  bv={}", bit));
    return 0;
}

}  // namespace orrimar
