// The exports of any sector: one JSON document, a folder of CSV tables or
// the HTML atlas. A damaged sector must be refused with the system's own
// errors; nothing else may escape.
// Parameters: [0] the format (JSON, CSV, atlas, modulo three).
#include <cstddef>
#include <cstdint>

#include "common/errors.h"
#include "exports/sector_export.h"
#include "fuzz_support.h"

using namespace orrimar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FuzzInput input = fuzz::parseInput(data, size);
    const auto& scratch = fuzz::scratch();
    scratch.writeSectors(input, "a");
    static constexpr exports::ExportFormat kFormats[] = {exports::ExportFormat::Json, exports::ExportFormat::Csv,
                                                         exports::ExportFormat::Atlas};
    const exports::ExportFormat format = kFormats[input.params[0] % 3];
    try {
        (void)exports::ExportSector(scratch.path("a"), format,
                                    scratch.path(format == exports::ExportFormat::Json ? "export.json" : "export"));
    } catch (const OrrError&) {
    }
    return 0;
}
