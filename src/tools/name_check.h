// The check of a sector's name records after the header: each of our kinds
// (1 systems, 2 planets, 3 races, 4 moons) must name a record that exists,
// a second header (kind 0) is out of place, and every name fits its field
// and holds no control character. Records of other kinds belong to other
// programs and are not judged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "records/record_reader.h"
#include "records/records.h"

namespace orrimar {

// Record counts of the files that name records point into.
struct NamedCounts {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
};

// Calls `problem` with one line per fault, in file order.
void checkNameRecords(RecordReader<TNameRec>& names, const NamedCounts& counts,
                      const std::function<void(const std::string&)>& problem);

}  // namespace orrimar
