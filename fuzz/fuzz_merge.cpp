// The merger on a pair of sectors: frames without the second-sector bit
// make the main sector, those with it the added one. A merge must either
// refuse with the system's errors or leave a main sector that check finds
// sound when both were sound before.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "common/errors.h"
#include "fuzz_support.h"
#include "tools/merger.h"
#include "tools/sector_check.h"

using namespace orrimar;

namespace {

bool sound(const std::string& base) {
    try {
        return CheckSector(base).sound();
    } catch (const OrrError&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FuzzInput input = fuzz::parseInput(data, size);
    const auto& scratch = fuzz::scratch();
    scratch.writeSectors(input, "a", "b");
    const std::string mainBase = scratch.path("a");
    const std::string addedBase = scratch.path("b");
    // Checking both costs two more reads: only for one input in four.
    const bool checkAfter = (input.params[0] & 3) == 0;
    const bool bothSound = checkAfter && sound(mainBase) && sound(addedBase);
    try {
        MergeSectors(mainBase, addedBase);
    } catch (const OrrError&) {
        return 0;
    }
    if (bothSound && !sound(mainBase)) {
        std::fprintf(stderr, "two sound sectors merged into one that check finds damaged\n");
        std::abort();
    }
    return 0;
}
