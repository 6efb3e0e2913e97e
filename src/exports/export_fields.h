// The records of a sector as named fields, the common ground of the JSON
// and CSV exports: the same names, units and values go into both. A field
// name ends in its unit (diameter_km, distance_au, temperature_c); a code
// comes with its name (world_type_code, world_type_name); bit sets become
// lists of the names of the bits that are set. Every builder gives the same
// names in the same order for every record, with null where a field does
// not apply (a belt has no diameter), so that one header serves a CSV file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "records/records.h"

namespace orrimar::exports {

struct FieldNull {
    bool operator==(const FieldNull&) const = default;
};
using FieldList = std::vector<std::string>;
using FieldValue = std::variant<FieldNull, bool, std::int64_t, double, std::string, FieldList>;

struct Field {
    std::string_view name;
    FieldValue value;
};
using Fields = std::vector<Field>;

using OptionalName = std::optional<std::string>;

// A system: id, name, position, age, star and body counts. `name` is UTF-8.
Fields systemFields(const TSystemRec& system, std::int64_t id, const OptionalName& name);

// Star 1..3 of a system.
Fields starFields(const TSystemRec& system, std::int64_t systemId, int star);

// Where a body is and what it circles.
struct BodyPlace {
    std::int64_t id = 0;    // planet-file id
    int star = 1;           // 1..3
    int orbit = 1;          // 1.. in the star's orbit order
    float starMass = 0.0F;  // solar masses; 0 or less = no year length
};
// A planet or belt (the kind field tells which).
Fields bodyFields(const TPlanetRec& body, const BodyPlace& place, const OptionalName& name);

// Moon `number` (1..) of its planet; `twin`: its planet's twin.
Fields moonFields(const TMoonRec& moon, std::int64_t id, int number, bool twin, const OptionalName& name);

// A race; `homeSystemId` is the system of its home world, when known.
Fields raceFields(const TAlienRec& race, std::int64_t id, std::optional<std::int64_t> homeSystemId,
                  const OptionalName& name);

// Appends one CSV cell: lists joined by "; ", null empty, and the whole
// quoted as RFC 4180 asks when it holds a comma, a quote or a line break.
void appendCsvCell(std::string& row, const FieldValue& value);

// A float field as the shortest decimal that reads back as the same float
// (0.3F is 0.3, not 0.30000001192092896).
double floatValue(float value);

}  // namespace orrimar::exports
