// orrimar-cli colony SECTOR add|set|remove: colonies edited by hand. Every
// value is checked before the sector is touched; a refused one exits 2
// naming its option and leaves every file as it was. A removed colony
// keeps its number as a vacant record.
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/edit_args.h"
#include "cli/id_args.h"
#include "names/named_things.h"
#include "names/world_names.h"
#include "settling/colony_edit.h"
#include "settling/field_error.h"

namespace orrimar::cli {

namespace {

struct ColonyOptions {
    std::optional<std::string> world;
    std::optional<std::string> race;
    std::optional<std::string> owner;
    bool independent = false;
    std::optional<std::int64_t> population;
    std::optional<std::uint64_t> people;
    std::optional<std::string> type;
    std::optional<std::string> starport;
    std::optional<std::int64_t> law;
    std::optional<std::int64_t> stability;
    std::optional<std::int64_t> crime;
    std::optional<std::int64_t> gnp;
    std::optional<std::int64_t> power;
    std::optional<std::string> facilities;
};

void addValueOptions(CLI::App* sub, ColonyOptions& o) {
    refuseBlank(sub->add_option("--world", o.world, "The world: planet:ID, moon:ID or its name (\"Vessane III\")"))
        ->type_name("WORLD");
    refuseBlank(sub->add_option("--race", o.race, "The race of the people living there: its id or name"))
        ->type_name("ID|NAME");
    auto* owner = refuseBlank(sub->add_option("--owner", o.owner,
                                              "The race owning the colony: its id or name "
                                              "(a new colony is owned by its people)"))
                      ->type_name("ID|NAME");
    sub->add_flag("--independent", o.independent, "The colony is owned by no race")->excludes(owner);
    auto* code = sub->add_option("--population", o.population, "Population code 0..69 (35 is 60 million people)")
                     ->type_name("CODE");
    sub->add_option("--people", o.people, "Population in people, rounded down to the nearest code")
        ->type_name("N")
        ->excludes(code);
    refuseBlank(sub->add_option("--type", o.type,
                                "Colony type by name: Agricultural, High population, Industrial, "
                                "Mining, Fluid, Recreational, Capital, Homeworld, Settlement, "
                                "Military, Research"))
        ->type_name("NAME");
    refuseBlank(sub->add_option("--starport", o.starport, "Starport class: Excellent, Good, Fair, Primitive, None"))
        ->type_name("NAME");
    sub->add_option("--law", o.law, "Law level 0..9")->type_name("N");
    sub->add_option("--stability", o.stability, "Stability 0..9")->type_name("N");
    sub->add_option("--crime", o.crime, "Crime level 0..9")->type_name("N");
    sub->add_option("--gnp", o.gnp, "Gross product, millions of credits a year, 0..65535")->type_name("N");
    sub->add_option("--power", o.power, "Armed strength, 0..65535 points")->type_name("N");
    sub->add_option("--facilities", o.facilities,
                    "Every facility, comma-separated (\"Naval Base,University\"); "
                    "\"\" for none")
        ->type_name("LIST");
}

// The options given, as the editor takes them: races and world looked up
// by name, names of codes turned into codes.
ColonyFields fieldsOf(const ColonyOptions& o, const std::string& base) {
    ColonyFields f;
    if (o.world) f.world = findWorldByText(base, *o.world, "--world");
    if (o.race) f.race = idFromText(base, NameKind::Race, *o.race, "--race");
    if (o.owner) f.owner = idFromText(base, NameKind::Race, *o.owner, "--owner");
    f.independent = o.independent;
    f.populationCode = o.population;
    f.people = o.people;
    if (o.type) f.type = static_cast<std::int64_t>(colonyTypeFromText(*o.type, "type"));
    if (o.starport) f.starport = static_cast<std::int64_t>(starportFromText(*o.starport, "starport"));
    f.law = o.law;
    f.stability = o.stability;
    f.crime = o.crime;
    f.gnp = o.gnp;
    f.power = o.power;
    if (o.facilities) f.facilities = facilitiesFromText(*o.facilities, "facilities");
    return f;
}

std::string ownerText(const std::string& base, const TColonyRec& colony) {
    if (colony.allegiance == kNoRace) {
        return fmt::format("independent, of {}", namedThing(base, NameKind::Race, colony.race));
    }
    return fmt::format("owned by {}", namedThing(base, NameKind::Race, colony.allegiance));
}

}  // namespace

void registerColony(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<ColonyOptions>();
    EditCommand command;
    command.noun = "colony";
    command.aNoun = "a colony";
    command.addHelp = "Add a colony on a world that has none";
    command.valueOptions = [o](CLI::App* sub) { addValueOptions(sub, *o); };
    command.add = [o](const std::string& base) {
        if (!o->world) throw FieldError("world", "give the world of the new colony");
        if (!o->race) throw FieldError("race", "give the race of the new colony's people");
        const ColonyEditResult done = AddColony(base, fieldsOf(*o, base));
        return fmt::format("colony {} added on {}, {}", done.colonyId, worldLabel(base, colonyWorld(done.colony)),
                           ownerText(base, done.colony));
    };
    command.set = [o](const std::string& base, std::int64_t id) {
        const ColonyEditResult done = SetColony(base, id, fieldsOf(*o, base));
        return fmt::format("colony {} on {} changed, {}", done.colonyId, worldLabel(base, colonyWorld(done.colony)),
                           ownerText(base, done.colony));
    };
    command.remove = [](const std::string& base, std::int64_t id) {
        const ColonyEditResult done = RemoveColony(base, id);
        return fmt::format("colony {} removed from {}; its number stays, as a vacant record", done.colonyId,
                           worldLabel(base, colonyWorld(done.colony)));
    };
    registerEditCommand(app, ctx, command);
}

}  // namespace orrimar::cli
