// orrimar-cli find SECTOR [criteria]: the atlas's search from a command
// line. Every criterion given must hold; the matches are printed as a table
// (fewest jumps first with --jumps, nearest first with --of, else by id)
// or, with --json, as one JSON object.
#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "atlas/atlas_model.h"
#include "atlas/filters.h"
#include "cli/atlas_args.h"
#include "cli/cli.h"
#include "cli/id_args.h"
#include "vocabulary/body_names.h"
#include "documents/document.h"
#include "common/errors.h"
#include "records/sector_base.h"

namespace orrimar::cli {

namespace {

// No temperature is colder, in whole degrees Celsius.
constexpr int kAbsoluteZeroC = -273;

struct FindOptions {
    std::string sector;
    std::string name;
    std::string star;
    std::string world;
    bool breathable = false;
    std::string temp;
    std::string water;
    std::string gravity;
    std::string life;
    bool race = false;
    bool colony = false;
    std::optional<double> within;
    std::string of;
    std::string jumps;
    std::string jump;
    std::string via;
    std::string owner;
    std::optional<std::uint64_t> minPeople;
    std::string starport;
    std::string colonyType;
    bool json = false;
};

std::string marksText(const atlas::SystemEntry& e) {
    std::string text;
    if ((e.marks & atlas::kMarkNativeRace) != 0) text += "race";
    if ((e.marks & atlas::kMarkColony) != 0) {
        text += text.empty() ? "" : ", ";
        text += (e.marks & atlas::kMarkOwnedColony) != 0 ? "colony" : "independent colony";
    }
    return text;
}

std::string lifeText(const atlas::SystemEntry& e) {
    return e.life == 0 ? std::string()
                       : std::string(vocabulary::lifeLevelName(static_cast<vocabulary::LifeLevel>(e.life)));
}

// --jumps N: a whole number of jumps, 0 or more.
int jumpCountFromText(const std::string& text) {
    int count = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (ec == std::errc::result_out_of_range) throw InputError(fmt::format("--jumps: {} jumps is too many", text));
    if (ec != std::errc() || end != text.data() + text.size() || count < 0) {
        throw InputError(fmt::format("--jumps: '{}' is no number of jumps: give a whole number, 0 or more", text));
    }
    return count;
}

// --jump J: the longest jump, a positive number of parsecs.
double jumpLengthFromText(const std::string& text) {
    double parsecs = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsecs);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(parsecs) || !(parsecs > 0.0)) {
        throw InputError(fmt::format("--jump: '{}' is no jump: give a number of parsecs above 0", text));
    }
    return parsecs;
}

void run(const FindOptions& o, Context& ctx) {
    atlas::Filter filter;
    // Every option is read before the sector, so a typing error touches nothing.
    filter.nameOrId = o.name;
    if (!o.star.empty()) filter.starKinds = starKindsFromText(o.star);
    if (!o.world.empty()) filter.worldTypes = worldTypesFromText(o.world);
    filter.breathable = o.breathable;
    if (!o.temp.empty()) filter.temperature = intRangeFromText(o.temp, "--temp", kAbsoluteZeroC, 100000);
    if (!o.water.empty()) filter.water = intRangeFromText(o.water, "--water", 0, 100);
    if (!o.gravity.empty()) filter.gravity = realRangeFromText(o.gravity, "--gravity");
    if (!o.life.empty()) filter.minLife = lifeFromText(o.life);
    filter.nativeRace = o.race;
    filter.colony = o.colony;
    if (o.within && o.of.empty()) throw InputError("--within and --of go together: --within N --of SYSTEM");
    if (o.within && !(*o.within >= 0.0)) throw InputError(fmt::format("--within: {} is no distance", *o.within));
    const bool byJumps = !o.jumps.empty();
    if (byJumps != !o.jump.empty() || (byJumps && o.of.empty())) {
        throw InputError("--jumps, --jump and --of go together: --jumps N --of SYSTEM --jump PARSECS");
    }
    if (!o.via.empty() && !byJumps) throw InputError("--via limits where jumps stop: it goes with --jumps");
    if (!o.of.empty() && !o.within && !byJumps)
        throw InputError("--of measures from a system: give --within or --jumps");
    if (byJumps) {
        filter.maxJumps = jumpCountFromText(o.jumps);
        filter.jumpParsecs = jumpLengthFromText(o.jump);
    }
    if (o.minPeople) filter.minPeople = *o.minPeople;
    if (!o.starport.empty()) filter.starport = starportFromText(o.starport);
    if (!o.colonyType.empty()) filter.colonyTypes = colonyTypesFromText(o.colonyType);

    atlas::AtlasModel model = atlas::AtlasModel::open(o.sector);
    for (const std::string& w : model.warnings()) ctx.err << "orrimar-cli: warning: " << w << "\n";
    if (!o.owner.empty()) filter.owner = model.settled().ownerFromText(o.owner, "--owner");
    const atlas::SystemId of = o.of.empty() ? atlas::kNoSystem : systemIdFromText(model, o.of, "--of");
    if (o.within) {
        filter.withinOf = of;
        filter.withinParsecs = *o.within;
    }
    if (byJumps) {
        filter.jumpsOf = of;
        if (!o.via.empty()) filter.jumpVia = viaFromText(model, o.via);
    }
    std::vector<std::int32_t> jumps;
    const std::vector<std::uint8_t> hits = atlas::matchSystems(model, filter, &jumps);
    std::vector<atlas::SystemId> ids;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (hits[i] != 0) ids.push_back(static_cast<atlas::SystemId>(i));
    }
    auto jumpsTo = [&](atlas::SystemId id) { return jumps[static_cast<std::size_t>(id)]; };
    if (of != atlas::kNoSystem) {
        std::stable_sort(ids.begin(), ids.end(), [&](atlas::SystemId a, atlas::SystemId b) {
            if (byJumps && jumpsTo(a) != jumpsTo(b)) return jumpsTo(a) < jumpsTo(b);
            return atlas::distance(model, a, of) < atlas::distance(model, b, of);
        });
    }

    if (o.json) {
        nlohmann::json matches = nlohmann::json::array();
        for (const atlas::SystemId id : ids) {
            const atlas::SystemEntry& e = model.entry(id);
            nlohmann::json m = {{"id", id},
                                {"name", std::string(model.name(id))},
                                {"x", e.x},
                                {"y", e.y},
                                {"z", e.z},
                                {"starKind", e.starKind},
                                {"star", std::string(vocabulary::starPlainName(e.starKind))},
                                {"stars", e.starCount},
                                {"worlds", e.worldCount},
                                {"life", lifeText(e)},
                                {"nativeRace", (e.marks & atlas::kMarkNativeRace) != 0},
                                {"colony", (e.marks & atlas::kMarkColony) != 0}};
            if (of != atlas::kNoSystem) m["parsecs"] = atlas::distance(model, id, of);
            if (byJumps) m["jumps"] = jumpsTo(id);
            matches.push_back(std::move(m));
        }
        const nlohmann::json doc = {{"sector", model.sectorName()},
                                    {"systems", model.size()},
                                    {"count", ids.size()},
                                    {"matches", std::move(matches)}};
        ctx.out << doc.dump(2) << "\n";
        return;
    }

    const bool near = of != atlas::kNoSystem;
    std::size_t nameWidth = 4;
    for (const atlas::SystemId id : ids) nameWidth = std::max(nameWidth, documents::displayWidth(model.name(id)));
    // The headings line up with the columns below, trailing blanks dropped.
    std::string heading = fmt::format("{:>7}  {:<{}}  {:>6} {:>6} {:>6}  {:<24}  {:>6}  {:<9}  {:<18}{}{}", "Id",
                                      "Name", nameWidth, "X", "Y", "Z", "Primary star", "Worlds", "Life", "Marks",
                                      near ? "  Parsecs" : "", byJumps ? "  Jumps" : "");
    while (!heading.empty() && heading.back() == ' ') heading.pop_back();
    ctx.out << heading << "\n";
    for (const atlas::SystemId id : ids) {
        const atlas::SystemEntry& e = model.entry(id);
        const std::string name(model.name(id));
        const std::string marks = marksText(e);
        std::string line = fmt::format("{:>7}  {}{:{}}  {:>6} {:>6} {:>6}  {:<24}  {:>6}  {:<9}  {:<18}", id, name, "",
                                       nameWidth - documents::displayWidth(name), e.x, e.y, e.z,
                                       vocabulary::starPlainName(e.starKind), e.worldCount, lifeText(e), marks);
        if (near) line += fmt::format("  {:>7.2f}", atlas::distance(model, id, of));
        if (byJumps) line += fmt::format("  {:>5}", jumpsTo(id));
        while (!line.empty() && line.back() == ' ') line.pop_back();
        ctx.out << line << "\n";
    }
    ctx.out << fmt::format("{} of {} systems match\n", groupedCount(static_cast<std::int64_t>(ids.size())),
                           groupedCount(model.size()));
}

}  // namespace

void registerFind(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<FindOptions>();
    CLI::App* cmd = app.add_subcommand("find", "List the systems of a sector that meet every criterion given");
    refuseBlank(cmd->add_option("SECTOR", o->sector, "Sector base name (path without extension)"))->required();
    refuseBlank(cmd->add_option("--name", o->name, "A system id, or a part of a name (case ignored)"));
    refuseBlank(cmd->add_option("--star", o->star, "Primary star: spectral classes (G,K) or kind codes 1-23"));
    refuseBlank(cmd->add_option("--world", o->world, "A body of one of these world types (gas-giant,terran or codes)"));
    cmd->add_flag("--breathable", o->breathable, "A planet with breathable air (nitrogen-oxygen, standard or thin)");
    refuseBlank(cmd->add_option("--temp", o->temp, "A planet's mean temperature in MIN..MAX degrees Celsius"));
    refuseBlank(cmd->add_option("--water", o->water, "A planet's water cover in MIN..MAX percent"));
    refuseBlank(cmd->add_option("--gravity", o->gravity, "A planet's surface gravity in MIN..MAX g"));
    refuseBlank(cmd->add_option("--life", o->life,
                                "A planet with at least this life: prebiotic, microbial, complex, sentient"));
    cmd->add_flag("--race", o->race, "A planet home to a native race");
    cmd->add_flag("--colony", o->colony, "A colony or moon base in the system");
    refuseBlank(cmd->add_option("--within", o->within, "Within N parsecs of the system given by --of"));
    refuseBlank(cmd->add_option("--of", o->of,
                                "The system (id, name or the start of a name) that --within and --jumps measure from"));
    refuseBlank(cmd->add_option("--jumps", o->jumps,
                                "Within N jumps of the system given by --of (0: that system alone); with --jump"));
    refuseBlank(cmd->add_option("--jump", o->jump, "With --jumps: the longest jump, parsecs"));
    refuseBlank(cmd->add_option("--via", o->via,
                                "With --jumps: stop on the way only at systems with: gas-giant, water, breathable, "
                                "life, race, colony; or empire:NAME"));
    refuseBlank(cmd->add_option("--owner", o->owner,
                                "Controlled by this race (id, name or its empire's name), or 'independent'"));
    refuseBlank(cmd->add_option("--min-people", o->minPeople, "At least this many people in the system's colonies"));
    refuseBlank(
        cmd->add_option("--starport", o->starport, "A starport at least this good: excellent, good, fair, primitive"));
    refuseBlank(cmd->add_option("--colony-type", o->colonyType, "A colony of one of these types (mining,research)"));
    cmd->add_flag("--json", o->json, "Print the matches as JSON");
    cmd->callback([o, &ctx] { run(*o, ctx); });
}

}  // namespace orrimar::cli
