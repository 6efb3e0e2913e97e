#include "cli/edit_args.h"

#include <memory>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "common/errors.h"
#include "records/sector_base.h"
#include "settling/field_error.h"

namespace orrimar::cli {

namespace {

struct Target {
    std::string sector;
    std::int64_t id = 0;
};

// Runs one edit on the sector; a refused field is named by its option.
template <typename Edit>
void runEdit(const Context& ctx, const std::string& noun, const Target& target, Edit edit) {
    const std::string base = sectorBaseName(target.sector);
    requireSector(base);
    try {
        ctx.success(edit(base));
    } catch (const FieldError& e) {
        const std::string option = e.field() == noun ? "ID" : "--" + e.field();
        throw InputError(fmt::format("{}: {}", option, e.problem()));
    }
}

}  // namespace

void registerEditCommand(CLI::App& app, Context& ctx, const EditCommand& command) {
    auto target = std::make_shared<Target>();
    const std::string noun = command.noun;
    const std::string aNoun = command.aNoun;
    auto* cmd = app.add_subcommand(noun, "Add, change or remove " + aNoun + " of a sector");
    cmd->require_subcommand(1);
    refuseBlank(cmd->add_option("SECTOR", target->sector, "The sector: its base name, e.g. data/alpha"))
        ->type_name("PATH")
        ->required();

    auto* add = cmd->add_subcommand("add", command.addHelp);
    add->fallthrough();
    command.valueOptions(add);
    add->callback([target, &ctx, noun, edit = command.add] { runEdit(ctx, noun, *target, edit); });

    const std::string idHelp = "The " + noun + "'s number";
    auto* set = cmd->add_subcommand("set", "Change the values given of " + aNoun);
    set->fallthrough();
    set->add_option("ID", target->id, idHelp)->required();
    command.valueOptions(set);
    set->callback([target, &ctx, noun, edit = command.set] {
        runEdit(ctx, noun, *target, [&](const std::string& base) { return edit(base, target->id); });
    });

    auto* remove = cmd->add_subcommand("remove", "Remove " + aNoun + "; its number stays, as a vacant record");
    remove->fallthrough();
    remove->add_option("ID", target->id, idHelp)->required();
    remove->callback([target, &ctx, noun, edit = command.remove] {
        runEdit(ctx, noun, *target, [&](const std::string& base) { return edit(base, target->id); });
    });
}

}  // namespace orrimar::cli
