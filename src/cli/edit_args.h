// What the hand editors of a sector's settled records share on the command
// line: `NOUN SECTOR add|set|remove`, the sector's base name read and
// checked before anything else, and a field the editor refuses named by
// the option it came from (the record's number by "ID").
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace CLI {
class App;
}

namespace orrimar::cli {

struct Context;

struct EditCommand {
    const char* noun = "";     // "colony": the subcommand, and the field name of the record's number
    const char* aNoun = "";    // "a colony", as the help lines name one
    const char* addHelp = "";  // "Add a colony on a world that has none"
    // Adds the value options to the add and set subcommands.
    std::function<void(CLI::App*)> valueOptions;
    // Each edit, given the sector's base name (and the record's number),
    // returns the line that says what was done; a refused field throws
    // FieldError.
    std::function<std::string(const std::string& base)> add;
    std::function<std::string(const std::string& base, std::int64_t id)> set;
    std::function<std::string(const std::string& base, std::int64_t id)> remove;
};

void registerEditCommand(CLI::App& app, Context& ctx, const EditCommand& command);

}  // namespace orrimar::cli
