// check, the tail finder and repair on any sector: each may refuse the
// sector with the system's own errors, nothing else.
#include <cstddef>
#include <cstdint>

#include "common/errors.h"
#include "fuzz_support.h"
#include "records/sector_tail.h"
#include "tools/sector_check.h"
#include "tools/sector_repair.h"

using namespace orrimar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FuzzInput input = fuzz::parseInput(data, size);
    const auto& scratch = fuzz::scratch();
    scratch.writeSectors(input, "a");
    const std::string base = scratch.path("a");
    try {
        (void)CheckSector(base);
    } catch (const OrrError&) {
    }
    try {
        (void)SectorTailProblems(base);
        (void)SectorReferenceProblems(base);
        const SectorTail tail = FindLastWholeSystem(base);
        (void)CheckSectorPrefix(base, tail.whole);
    } catch (const OrrError&) {
    }
    // Repair rewrites the files, so it runs last, and only for half the
    // inputs: the other half keeps the checks' speed.
    if ((input.params[0] & 1) != 0) {
        try {
            (void)RepairSector(base);
            (void)CheckSector(base);
        } catch (const OrrError&) {
        }
    }
    return 0;
}
