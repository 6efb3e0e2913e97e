// The sector report (.map and .html) of any sector.
// Parameters: [0] bits 0..3 leave out systems, aliens, summary, empires.
#include <cstddef>
#include <cstdint>

#include "common/errors.h"
#include "engine/engine.h"
#include "fuzz_support.h"

using namespace orrimar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FuzzInput input = fuzz::parseInput(data, size);
    const auto& scratch = fuzz::scratch();
    scratch.writeSectors(input, "a");
    const std::uint8_t leaveOut = input.params[0];
    try {
        engine::main_map(scratch.path("a"), scratch.path("report"), (leaveOut & 1) == 0, (leaveOut & 2) == 0,
                         (leaveOut & 4) == 0, (leaveOut & 8) == 0);
    } catch (const OrrError&) {
    }
    return 0;
}
