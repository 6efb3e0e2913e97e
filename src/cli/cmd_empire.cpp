// orrimar-cli empire SECTOR add|set|remove: empires edited by hand. Every
// value is checked before the sector is touched; a refused one exits 2
// naming its option and leaves every file as it was. A removed empire
// keeps its number as a vacant record.
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/edit_args.h"
#include "cli/id_args.h"
#include "common/ansi_text.h"
#include "names/named_things.h"
#include "settling/empire_edit.h"
#include "settling/field_error.h"

namespace orrimar::cli {

namespace {

struct EmpireOptions {
    std::optional<std::string> race;
    std::optional<std::string> name;
    std::optional<std::string> capital;
    std::optional<std::string> colour;
};

void addValueOptions(CLI::App* sub, EmpireOptions& o) {
    refuseBlank(sub->add_option("--race", o.race, "The ruling race: its id or name"))->type_name("ID|NAME");
    sub->add_option("--name", o.name, "The empire's name, 1 to 39 characters")->type_name("TEXT");
    refuseBlank(sub->add_option("--capital", o.capital,
                                "The capital system: its id or name (a new empire's is "
                                "its race's home system)"))
        ->type_name("SYSTEM");
    refuseBlank(sub->add_option("--colour", o.colour, "Its colour on maps, #RRGGBB"))->type_name("#RRGGBB");
}

EmpireFields fieldsOf(const EmpireOptions& o, const std::string& base) {
    EmpireFields f;
    if (o.race) f.race = idFromText(base, NameKind::Race, *o.race, "--race");
    f.name = o.name;
    if (o.capital) f.capital = idFromText(base, NameKind::System, *o.capital, "--capital");
    if (o.colour) f.colour = colourFromText(*o.colour, "colour");
    return f;
}

std::string describe(const std::string& base, const EmpireEditResult& done) {
    const TEmpireRec& e = done.empire;
    const std::string capital = e.capitalSystemId < 0
                                    ? std::string("no capital")
                                    : "capital " + namedThing(base, NameKind::System, e.capitalSystemId);
    return fmt::format("empire {} \"{}\" of {}, {}, {}", done.empireId, ansiToUtf8(e.name.str()),
                       namedThing(base, NameKind::Race, e.race), capital, colourText(e.colour));
}

}  // namespace

void registerEmpire(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<EmpireOptions>();
    EditCommand command;
    command.noun = "empire";
    command.aNoun = "an empire";
    command.addHelp = "Add an empire for a race that has none";
    command.valueOptions = [o](CLI::App* sub) { addValueOptions(sub, *o); };
    command.add = [o](const std::string& base) {
        if (!o->race) throw FieldError("race", "give the race of the new empire");
        if (!o->name) throw FieldError("name", "give the name of the new empire");
        return describe(base, AddEmpire(base, fieldsOf(*o, base))) + " added";
    };
    command.set = [o](const std::string& base, std::int64_t id) {
        return describe(base, SetEmpire(base, id, fieldsOf(*o, base))) + " changed";
    };
    command.remove = [](const std::string& base, std::int64_t id) {
        return describe(base, RemoveEmpire(base, id)) + " removed; its number stays, as a vacant record";
    };
    registerEditCommand(app, ctx, command);
}

}  // namespace orrimar::cli
