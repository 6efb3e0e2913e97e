// orrimar-cli reveal SECTOR --system ID ...: the players now know these
// systems, races, colonies and empires, whatever they would by default.
#include "cli/cli.h"
#include "cli/players_args.h"

namespace orrimar::cli {

void registerReveal(CLI::App& app, Context& ctx) {
    registerPlayersMark(app, ctx, "reveal", "Mark systems, races, colonies or empires as known to the players",
                        PlayersMark::Known);
}

}  // namespace orrimar::cli
