// Bit n (1..8) of a flag byte is the mask 2^(n-1). Multi-byte flag sets
// number their flags from 1 across the bytes: flag f is bit ((f-1) mod 8)+1
// of byte ((f-1) div 8).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orrimar {

// The mask of bit n; any other bit number reports "Error in bit value  bv=n"
// through the message sink and yields 0 (so a test reports true and set and
// clear change nothing).
std::uint8_t bitMask(int bit);

inline bool testBit(std::uint8_t flags, int bit) {
    const std::uint8_t mask = bitMask(bit);
    return (flags & mask) == mask;
}
inline void setBit(std::uint8_t& flags, int bit) { flags = static_cast<std::uint8_t>(flags | bitMask(bit)); }
inline void clearBit(std::uint8_t& flags, int bit) {
    flags = static_cast<std::uint8_t>(flags & static_cast<std::uint8_t>(~bitMask(bit)));
}

// Flag f (1-based) of a multi-byte set.
inline bool testFlag(const std::uint8_t* set, int flag) { return testBit(set[(flag - 1) / 8], (flag - 1) % 8 + 1); }
inline void setFlag(std::uint8_t* set, int flag) { setBit(set[(flag - 1) / 8], (flag - 1) % 8 + 1); }
inline void clearFlag(std::uint8_t* set, int flag) { clearBit(set[(flag - 1) / 8], (flag - 1) % 8 + 1); }

}  // namespace orrimar
