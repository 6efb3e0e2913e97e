// The colonies report of one race over any sector.
// Parameters: [0..1] the race (signed, little-endian).
#include <cstddef>
#include <cstdint>

#include "common/errors.h"
#include "fuzz_support.h"
#include "tools/colonies_report.h"

using namespace orrimar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FuzzInput input = fuzz::parseInput(data, size);
    const auto& scratch = fuzz::scratch();
    scratch.writeSectors(input, "a");
    const auto race = static_cast<std::int16_t>(input.params[0] | (input.params[1] << 8));
    try {
        WriteColoniesReport(scratch.path("a"), race, scratch.path("colonies"));
    } catch (const OrrError&) {
    }
    return 0;
}
