#include "engine/alien_generator.h"

#include "common/errors.h"
#include "common/random.h"
#include "common/scratch_folder.h"
#include "engine/engine.h"
#include "settings/probabilities.h"

namespace orrimar::engine {

AlienGeneratorResult runAlienGenerator(const AlienGeneratorParams& params) {
    // Fresh thresholds for every race, as for every sector run.
    if (params.settingsPath.empty()) {
        alienThresholds() = AlienThresholds{};
    } else {
        LoadAlienProbabilities(params.settingsPath);
    }
    RaceOrder order;
    order.temperature = parseTemperature(params.temperature);
    order.gravity = parseGravity(params.gravity);
    order.worldType = worldTypeForIndex(params.worldIndex);
    order.composition = atmosphereForIndex(params.atmosphereIndex);
    order.totalAlienDisable = params.totalAlienDisable;
    if (params.outputIndex < 0 || params.outputIndex >= static_cast<int>(std::size(kOutputSystems)))
        throw InputError(std::string(kNoOutputMessage));
    if (params.logPath.empty()) throw InputError(std::string(kNoLogMessage));

    const ScratchFolder scratch(params.scratchRoot, "orrimar-alien");
    orrdll_ini();
    if (params.seed) seedRandom(*params.seed);
    const std::string base = MakeRaceToOrder(order, scratch.path());
    main_alienlog(base, 0, static_cast<std::uint8_t>(params.outputIndex), logFormatOfFilter(params.filterIndex),
                  params.logPath);
    return {std::string(kDoneTitle), std::string(kDoneMessage), params.outputIndex};
}

}  // namespace orrimar::engine
