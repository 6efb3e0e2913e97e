// The system log of one system of any sector, as text or HTML.
// Parameters: [0] bit 0 = HTML, [1..2] the system id (signed, little-endian).
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
    const bool html = (input.params[0] & 1) != 0;
    const auto systemId = static_cast<std::int16_t>(input.params[1] | (input.params[2] << 8));
    try {
        engine::main_starlog(scratch.path("a"), scratch.path(html ? "log.html" : "log.log"), systemId, 1,
                             html ? engine::LogFormat::Html : engine::LogFormat::Text);
    } catch (const OrrError&) {
    }
    return 0;
}
