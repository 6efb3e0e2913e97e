// One native race for a world: the generation steps in their fixed order
// (the order of the dice is part of what a seeded run reproduces), then the
// record appended to the sector's race file.
#include "aliens/alien_race.h"

#include <cerrno>
#include <filesystem>

#include "aliens/race_steps.h"

namespace orrimar {

TAlienRec RollAlienRace(const AlienWorld& world, std::int32_t worldId, bool totalAlienDisable,
                        std::uint8_t maxSpatialAge) {
    TAlienRec race{};
    RaceRun run;
    run.temperature = world.temperature;
    run.composition = world.composition;
    run.totalAlienDisable = totalAlienDisable;

    RollHabitat(race, world.worldType, world.gravity);
    RollRangeFlag(run);
    RollCategory(race, run);
    RollBodyForm(race, run);
    RollAppendages(race, run);
    RollAspects(race, run);
    RollSize(race, world.gravity);
    RollAttributes(race, run, maxSpatialAge);
    RaceTraitStep(race, run);
    RaceSecondPicksStep(race, run);
    RollOrder(race);
    RollClosingAspects(race);
    // The first development level with spaceflight; the spatial age rolled
    // earlier is kept as it was.
    if (race.formCode == 18 && race.techLevel < 6) race.techLevel = 6;

    race.worldId = worldId;
    return race;
}

std::int64_t GenerateAlienRace(RecordFile<TAlienRec>& races, const AlienWorld& world, std::int32_t worldId,
                               bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    const TAlienRec race = RollAlienRace(world, worldId, totalAlienDisable, maxSpatialAge);
    return races.append(race);
}

std::int64_t GenerateAlienRace(std::int16_t temperature, std::uint8_t composition, std::uint8_t worldType,
                               float gravity, bool newFile, const std::string& baseName, std::int32_t worldId,
                               bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    const std::string path = baseName + ".aln";
    // A missing race file starts empty; one that exists but will not open is
    // an error, never truncated.
    std::error_code ec;
    const bool create = newFile || !std::filesystem::exists(path, ec);
    RecordFile<TAlienRec> races(path, create ? RawRecordFile::Mode::Create : RawRecordFile::Mode::OpenExisting);
    const AlienWorld world{temperature, composition, worldType, gravity};
    const std::int64_t id = GenerateAlienRace(races, world, worldId, totalAlienDisable, maxSpatialAge);
    races.close();
    return id;
}

}  // namespace orrimar
