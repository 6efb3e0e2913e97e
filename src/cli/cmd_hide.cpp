// orrimar-cli hide SECTOR --system ID ...: the players do not know these
// systems, races, colonies and empires, whatever they would by default.
#include "cli/cli.h"
#include "cli/players_args.h"

namespace orrimar::cli {

void registerHide(CLI::App& app, Context& ctx) {
    registerPlayersMark(app, ctx, "hide", "Mark systems, races, colonies or empires as unknown to the players",
                        PlayersMark::Unknown);
}

}  // namespace orrimar::cli
