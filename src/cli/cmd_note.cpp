// orrimar-cli note SECTOR --system ID "text" (or --planet, --moon, --race,
// --colony, --empire, --sector) [--public]: writes the game master's note on
// one thing into the sector's campaign file; --remove takes it away.
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "campaign/campaign_file.h"
#include "campaign/notes.h"
#include "cli/cli.h"
#include "cli/id_args.h"
#include "common/errors.h"
#include "records/sector_base.h"

namespace orrimar::cli {

namespace {

struct NoteOptions {
    std::string base;
    std::optional<std::string> system;
    std::optional<std::int64_t> planet;
    std::optional<std::int64_t> moon;
    std::optional<std::string> race;
    std::optional<std::int64_t> colony;
    std::optional<std::int64_t> empire;
    bool sector = false;
    bool isPublic = false;
    bool remove = false;
    std::optional<std::string> text;
};

Thing thingOf(const NoteOptions& o) {
    if (o.system) return {ThingKind::System, idFromText(o.base, NameKind::System, *o.system, "--system")};
    if (o.planet) return {ThingKind::Planet, *o.planet};
    if (o.moon) return {ThingKind::Moon, *o.moon};
    if (o.race) return {ThingKind::Race, idFromText(o.base, NameKind::Race, *o.race, "--race")};
    if (o.colony) return {ThingKind::Colony, *o.colony};
    if (o.empire) return {ThingKind::Empire, *o.empire};
    if (o.sector) return kWholeSector;
    throw InputError(
        "note: say what the note is on with --system, --planet, --moon, --race, --colony, --empire "
        "ID or --sector");
}

}  // namespace

void registerNote(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<NoteOptions>();
    auto* cmd = app.add_subcommand("note", "Write (or --remove) the game master's note on a thing of a sector");
    refuseBlank(cmd->add_option("SECTOR", o->base, "Sector base name (path without extension)"))->required();
    std::vector<CLI::Option*> targets = {
        refuseBlank(cmd->add_option("--system", o->system, "The system: its id or its name")),
        refuseBlank(cmd->add_option("--planet", o->planet, "Id of the planet or belt")),
        refuseBlank(cmd->add_option("--moon", o->moon, "Id of the moon")),
        refuseBlank(cmd->add_option("--race", o->race, "The race: its id or its name")),
        refuseBlank(cmd->add_option("--colony", o->colony, "Id of the colony (its record in the .col file)")),
        refuseBlank(cmd->add_option("--empire", o->empire, "Id of the empire (its record in the .emp file)")),
        cmd->add_flag("--sector", o->sector, "The note is on the sector itself"),
    };
    for (std::size_t i = 0; i < targets.size(); ++i) {
        for (std::size_t j = i + 1; j < targets.size(); ++j) targets[i]->excludes(targets[j]);
    }
    auto* pub = cmd->add_flag("--public", o->isPublic, "The players may read the note (notes are secret unless)");
    auto* rem = cmd->add_flag("--remove", o->remove, "Take the note away");
    auto* text = cmd->add_option("TEXT", o->text, "The note, UTF-8, any length");
    rem->excludes(pub);
    rem->excludes(text);
    cmd->callback([o, &ctx] {
        const Thing thing = thingOf(*o);
        const std::string base = sectorBaseName(o->base);
        if (o->remove) {
            const bool removed = removeNote(base, thing);
            ctx.success(removed
                            ? fmt::format("Removed the note on {} from {}", describeThing(thing), campaignPath(base))
                            : fmt::format("There was no note on {} in {}", describeThing(thing), base));
            return;
        }
        if (!o->text) throw InputError("note: give the TEXT of the note, or --remove to take it away");
        setNote(base, thing, *o->text, o->isPublic ? NoteAudience::Players : NoteAudience::Secret);
        ctx.success(fmt::format("Wrote the {} note on {} to {}", o->isPublic ? "public" : "secret",
                                describeThing(thing), campaignPath(base)));
    });
}

}  // namespace orrimar::cli
