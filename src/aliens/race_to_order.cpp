#include "aliens/race_to_order.h"

#include "aliens/alien_race.h"
#include "common/errors.h"
#include "common/number_text.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar {

namespace {

constexpr int kTemperatureMin = -50;
constexpr int kTemperatureMax = 100;
constexpr double kGravityMin = 0.5;
constexpr double kGravityMax = 3.0;
constexpr std::string_view kScratchName = "temp0";

// The one-world sector: an empty name file and one planet holding what
// the race's log reads of its world. The gravity goes into the pressure
// field, which is where the log looks for it; the world type is not stored.
void writeOrderSector(const std::string& base, const RaceOrder& order) {
    RecordFile<TNameRec> names(sectorPath(base, ".nam"), RawRecordFile::Mode::Create);
    names.close();
    TPlanetRec planet;
    planet.systemId = -1;
    planet.colonisingRaceId = 0;  // every byte but the three fields is 0
    planet.composition = order.composition;
    planet.temperature = order.temperature;
    planet.pressure = order.gravity;
    RecordFile<TPlanetRec> planets(sectorPath(base, ".pln"), RawRecordFile::Mode::Create);
    planets.append(planet);
    planets.close();
}

}  // namespace

std::int16_t parseTemperature(std::string_view text) {
    // The standard integer conversion of the dialogs, the whole text.
    const ConvertedInteger value = convertInteger(text);
    if (!value.complete || value.value < kTemperatureMin || value.value > kTemperatureMax)
        throw InputError(std::string(kTemperatureMessage));
    return static_cast<std::int16_t>(value.value);
}

float parseGravity(std::string_view text) {
    const auto value = decimalReal(text);
    // Written so that a NaN fails too.
    if (!value || !(*value >= kGravityMin && *value <= kGravityMax)) throw InputError(std::string(kGravityMessage));
    return static_cast<float>(*value);
}

std::uint8_t worldTypeForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kWorldList.size())) return kDefaultWorldType;
    return kWorldList[static_cast<std::size_t>(index)].code;
}

std::uint8_t atmosphereForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kAtmosphereList.size())) return kDefaultAtmosphere;
    return kAtmosphereList[static_cast<std::size_t>(index)].code;
}

std::string MakeRaceToOrder(const RaceOrder& order, const std::filesystem::path& folder) {
    const std::string base = (folder / kScratchName).string();
    writeOrderSector(base, order);
    GenerateAlienRace(order.temperature, order.composition, order.worldType, order.gravity, true, base, 0,
                      order.totalAlienDisable, kGeneratorMaxSpatialAge);
    return base;
}

}  // namespace orrimar
