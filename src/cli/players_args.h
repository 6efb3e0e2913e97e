// What reveal and hide share: the things they take (--system, --race,
// --colony, --empire, each as often as wanted, --within N --of SYSTEM and
// --all) and the mark they write.
#pragma once

#include "campaign/players_view.h"

namespace CLI {
class App;
}

namespace orrimar::cli {

struct Context;

// Adds the subcommand `name` that puts `mark` on every thing it is given.
void registerPlayersMark(CLI::App& app, Context& ctx, const char* name, const char* description, PlayersMark mark);

}  // namespace orrimar::cli
