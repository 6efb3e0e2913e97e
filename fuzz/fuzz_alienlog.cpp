// The log of one race of any sector's race file, in every output system.
// Parameters: [0] output system (modulo their count), [1..2] the race id
// (signed, little-endian), [3] bit 0 = HTML.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <sstream>

#include "common/errors.h"
#include "engine/engine.h"
#include "fuzz_support.h"

using namespace orrimar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FuzzInput input = fuzz::parseInput(data, size);
    const auto& scratch = fuzz::scratch();
    scratch.writeSectors(input, "a");
    const auto outputSystem = static_cast<std::uint8_t>(input.params[0] % std::size(engine::kOutputSystems));
    const auto raceId = static_cast<std::int16_t>(input.params[1] | (input.params[2] << 8));
    const bool html = (input.params[3] & 1) != 0;
    std::ostringstream log;
    try {
        engine::main_alienlog(scratch.path("a"), raceId, outputSystem,
                              html ? engine::LogFormat::Html : engine::LogFormat::Text, log);
    } catch (const OrrError&) {
    }
    return 0;
}
