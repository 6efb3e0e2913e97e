#include "generation/sector_fields.h"

#include "common/number_text.h"
#include "common/random.h"

#include <charconv>
#include <optional>

namespace orrimar {

namespace {

constexpr std::size_t kNameLength = 50;

}  // namespace

CreateSectorAction convertCreateSectorFields(const CreateSectorFields& fields) {
    CreateSectorAction action;
    CreateSectorParams params;

    // Coordinates keep their low 16 bits; partial values are taken silently.
    params.x = static_cast<std::int16_t>(static_cast<std::uint16_t>(convertInteger(fields.x).value));
    params.y = static_cast<std::int16_t>(static_cast<std::uint16_t>(convertInteger(fields.y).value));
    params.z = static_cast<std::int16_t>(static_cast<std::uint16_t>(convertInteger(fields.z).value));

    // Density keeps its low 8 bits, unsigned: 300 is 44, -1 is 255 and so 100.
    const auto density = static_cast<std::uint8_t>(convertInteger(fields.density).value);
    params.density = density > 100 ? std::uint8_t{100} : density;

    params.sectorName = fields.name.substr(0, kNameLength);
    params.baseName = fields.file.empty() ? std::string("starlog") : fields.file;
    params.gaia = fields.gaia;
    params.totalAlienDisable = fields.totalAlienDisable;
    params.newFile = fields.newFile;
    params.flat = fields.flat;
    params.names = fields.names;

    const ConvertedInteger sizeField = convertInteger(fields.size);
    std::int32_t size = sizeField.value;
    if (!sizeField.complete) {
        action.sizeText = "10";
        size = 10;
    }
    if (size > 200) {
        action.messageTitle = "Error";
        action.message = "Size should be inferior to 201";
    } else if (size < 1) {
        action.messageTitle = "Error";
        action.message = "Size should be superior to 1";
    }

    const ConvertedInteger ageField = convertInteger(fields.maxSpatialAge);
    std::int32_t age = ageField.value;
    if (!ageField.complete) {
        action.maxSpatialAgeText = "50";
        age = 50;
    }
    params.maxSpatialAge = static_cast<std::uint8_t>(age);

    bool seedValid = true;
    if (!fields.seed.empty()) {
        const std::optional<std::uint64_t> seed = parseSeed(fields.seed);
        if (!seed) {
            seedValid = false;
            action.messageTitle = "Error";
            action.message = "Seed should be a whole number from 0 to 18446744073709551615, or empty";
        } else {
            params.seed = *seed;
        }
    }

    if (size >= 1 && size <= 200 && seedValid) {
        params.lastIndex = size - 1;
        action.run = params;
    }
    return action;
}

}  // namespace orrimar
