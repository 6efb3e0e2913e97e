#include "engine/alien_generator.h"

#include <cctype>
#include <charconv>
#include <filesystem>
#include <random>
#include <system_error>

#include <fmt/format.h>

#include "common/errors.h"
#include "common/random.h"
#include "engine/engine.h"
#include "reading/sector_reader.h"
#include "generation/sector_fields.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_files.h"
#include "settings/probabilities.h"

namespace fs = std::filesystem;

namespace orrimar::engine {

namespace {

constexpr int kTemperatureMin = -50;
constexpr int kTemperatureMax = 100;
constexpr double kGravityMin = 0.5;
constexpr double kGravityMax = 3.0;
constexpr std::string_view kScratchName = "temp0";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal real: blanks around it, an optional sign, digits with at most
// one point, an optional exponent. Read the same whatever the locale.
std::optional<double> strictReal(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && isDigit(text[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A folder of our own for the scratch sector, removed with everything in
// it when the run ends, however it ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& root) {
        const fs::path parent = root.empty() ? fs::temp_directory_path() : fs::path(root);
        std::random_device entropy;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = parent / fmt::format("orrimar-alien-{:08x}", entropy());
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
                path_ = candidate;
                return;
            }
            if (ec) throw IoError(fmt::format("Cannot make a scratch folder in {}: {}", parent.string(), ec.message()));
        }
        throw IoError(fmt::format("Cannot make a scratch folder in {}", parent.string()));
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string baseName() const { return (path_ / kScratchName).string(); }

private:
    fs::path path_;
};

// The one-world scratch sector: an empty name file and one planet holding
// what the race generator reads of its world. The gravity goes into the
// pressure field, which is where the log looks for it; the world type is
// not stored.
void writeScratchSector(const std::string& base, std::int16_t temperature, std::uint8_t composition, float gravity) {
    RecordFile<TNameRec> names(sectorPath(base, ".nam"), RawRecordFile::Mode::Create);
    names.close();
    TPlanetRec planet;
    planet.systemId = -1;
    planet.colonisingRaceId = 0;  // every byte but the three fields is 0
    planet.composition = composition;
    planet.temperature = temperature;
    planet.pressure = gravity;
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
    const auto value = strictReal(text);
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

AlienGeneratorResult runAlienGenerator(const AlienGeneratorParams& params) {
    // Fresh thresholds for every race, as for every sector run.
    if (params.settingsPath.empty()) {
        alienThresholds() = AlienThresholds{};
    } else {
        LoadAlienProbabilities(params.settingsPath);
    }
    const std::int16_t temperature = parseTemperature(params.temperature);
    const float gravity = parseGravity(params.gravity);
    const std::uint8_t worldType = worldTypeForIndex(params.worldIndex);
    const std::uint8_t composition = atmosphereForIndex(params.atmosphereIndex);
    if (params.outputIndex < 0 || params.outputIndex >= static_cast<int>(std::size(kOutputSystems)))
        throw InputError(std::string(kNoOutputMessage));
    if (params.logPath.empty()) throw InputError(std::string(kNoLogMessage));

    const ScratchFolder scratch(params.scratchRoot);
    const std::string base = scratch.baseName();
    writeScratchSector(base, temperature, composition, gravity);

    orrdll_ini();
    if (params.seed) seedRandom(*params.seed);
    main_alien(temperature, composition, worldType, gravity, 1, base, 0, params.totalAlienDisable ? 1 : 0,
               kGeneratorMaxSpatialAge);

    const LogFormat format = logFormatOfFilter(params.filterIndex);
    // Written beside its final name and moved into place only when whole.
    reading::OutputFile log(params.logPath);
    main_alienlog(base, 0, static_cast<std::uint8_t>(params.outputIndex), format, log.stream());
    log.commit();

    return {std::string(kDoneTitle), std::string(kDoneMessage), params.outputIndex};
}

}  // namespace orrimar::engine
