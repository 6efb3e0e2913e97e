#include "names/world_names.h"

#include <charconv>
#include <set>
#include <vector>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "names/sector_names.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar {

namespace {

// Refusals list this many worlds, then how many more.
constexpr std::size_t kListedWorlds = 8;

// Names are compared as findByText compares them: A-Z folded, nothing else.
bool equalFolded(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool startsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalFolded(text.substr(0, prefix.size()), prefix);
}

// "planet:40" -> 40; nullopt when `text` does not start with `word` + ':'.
std::optional<std::string_view> afterPrefix(std::string_view text, std::string_view word) {
    if (text.size() <= word.size() || text[word.size()] != ':' || !startsWithFolded(text, word)) return std::nullopt;
    return text.substr(word.size() + 1);
}

// The sector's readers a world's name is worked out from.
struct WorldFiles {
    explicit WorldFiles(const std::string& baseName)
        : systems(sectorPath(baseName, ".sun")),
          planets(sectorPath(baseName, ".pln")),
          moons(sectorPath(baseName, ".mon")) {}
    RecordReader<TSystemRec> systems;
    RecordReader<TPlanetRec> planets;
    RecordReader<TMoonRec> moons;
};

// The world's name in the code page of the name file.
std::optional<std::string> ansiWorldName(WorldFiles& files, const SectorNames& names, const WorldRef& world) {
    std::int64_t planetId = world.id;
    if (world.moon) {
        if (world.id < 0 || world.id >= files.moons.count()) return std::nullopt;
        if (auto own = names.moonOverride(world.id)) return own;
        planetId = files.moons.read(world.id).planetId;
    }
    if (planetId < 0 || planetId >= files.planets.count()) return std::nullopt;
    const TPlanetRec planet = files.planets.read(planetId);
    if (planet.systemId < 0 || planet.systemId >= files.systems.count()) return std::nullopt;
    const TSystemRec system = files.systems.read(planet.systemId);
    const SystemNamer namer(names, planet.systemId, system);
    return world.moon ? namer.moon(planetId, planet.firstMoonId, world.id) : namer.planet(planetId);
}

}  // namespace

std::string_view worldWord(const WorldRef& world) { return world.moon ? "moon" : "planet"; }

std::optional<std::string> worldName(const std::string& baseName, const WorldRef& world) {
    try {
        WorldFiles files(baseName);
        const SectorNames names = SectorNames::load(baseName);
        auto name = ansiWorldName(files, names, world);
        if (name) name = ansiToUtf8(*name);
        return name;
    } catch (const OrrError&) {
        // Only decoration: a world whose files cannot be read goes by its id.
        return std::nullopt;
    }
}

std::string worldLabel(const std::string& baseName, const WorldRef& world) {
    const auto name = worldName(baseName, world);
    const std::string id = fmt::format("{} {}", worldWord(world), world.id);
    return name ? fmt::format("{} ({})", *name, id) : id;
}

WorldRef findWorldByText(const std::string& baseName, std::string_view text, std::string_view option) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        throw InputError(fmt::format("{}: no world given: give planet:ID, moon:ID or the world's name", option));
    }
    for (const bool moon : {false, true}) {
        const auto digits = afterPrefix(text, moon ? "moon" : "planet");
        if (!digits) continue;
        std::int64_t id = -1;
        const auto [end, ec] = std::from_chars(digits->data(), digits->data() + digits->size(), id);
        if (ec != std::errc() || end != digits->data() + digits->size() || id < 0) {
            throw InputError(fmt::format("{}: '{}' is not a {} id: give {}:ID with ID a number from 0", option, text,
                                         moon ? "moon" : "planet", moon ? "moon" : "planet"));
        }
        return WorldRef{moon, id};
    }

    // By name: a world carries its own name (an override) or its system's
    // name followed by its place, so only the worlds of systems whose name
    // begins the text, and the overrides, can match.
    WorldFiles files(baseName);
    const SectorNames names = SectorNames::load(baseName);
    std::set<std::pair<bool, std::int64_t>> found;
    const auto consider = [&](const WorldRef& world) {
        const auto name = ansiWorldName(files, names, world);
        if (name && equalFolded(ansiToUtf8(*name), text)) found.insert({world.moon, world.id});
    };
    names.forEach(NameKind::Planet, [&](std::int64_t id, const std::string&) { consider({false, id}); });
    names.forEach(NameKind::Moon, [&](std::int64_t id, const std::string&) { consider({true, id}); });
    names.forEach(NameKind::System, [&](std::int64_t systemId, const std::string& systemName) {
        if (systemId >= files.systems.count() || !startsWithFolded(text, ansiToUtf8(systemName))) return;
        const TSystemRec system = files.systems.read(systemId);
        for (int star = 0; star < starCountOf(system); ++star) {
            const std::int64_t first = system.firstPlanetId[static_cast<std::size_t>(star)];
            const int count = system.planetCount[static_cast<std::size_t>(star)];
            for (std::int64_t planetId = first; planetId < first + count; ++planetId) {
                if (planetId < 0 || planetId >= files.planets.count()) continue;
                consider({false, planetId});
                const TPlanetRec planet = files.planets.read(planetId);
                for (std::int64_t m = planet.firstMoonId; m < planet.firstMoonId + planet.moonCount; ++m) {
                    consider({true, m});
                }
            }
        }
    });
    if (found.empty()) {
        throw InputError(
            fmt::format("{}: no world is called '{}': give its name as the logs write it, planet:ID or "
                        "moon:ID",
                        option, text));
    }
    if (found.size() > 1) {
        std::string listed;
        std::size_t n = 0;
        for (const auto& [moon, id] : found) {
            if (n++ == kListedWorlds) {
                listed += fmt::format(" and {} more", found.size() - kListedWorlds);
                break;
            }
            listed += fmt::format("{}{}:{}", listed.empty() ? "" : ", ", moon ? "moon" : "planet", id);
        }
        throw InputError(fmt::format("{}: {} worlds are called '{}': {}; give planet:ID or moon:ID", option,
                                     found.size(), text, listed));
    }
    return WorldRef{found.begin()->first, found.begin()->second};
}

}  // namespace orrimar
