// orrimar-cli notes SECTOR [--search WORDS] [--json]: the game master's
// notes on a sector, by kind then id, as text or as one JSON array.
#include <memory>

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "campaign/notes.h"
#include "cli/cli.h"
#include "records/sector_base.h"

namespace orrimar::cli {

namespace {

struct NotesOptions {
    std::string base;
    std::string search;
    bool json = false;
};

// "system 12 (secret):" then the text, every line indented, so that a note
// of many lines still reads as one.
void printNote(std::ostream& out, const Note& note) {
    out << describeThing(note.thing) << (note.audience == NoteAudience::Players ? " (public):" : " (secret):") << "\n";
    std::size_t start = 0;
    while (start <= note.text.size()) {
        const std::size_t end = note.text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? note.text.size() : end;
        out << "    " << note.text.substr(start, stop - start) << "\n";
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

}  // namespace

void registerNotes(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<NotesOptions>();
    auto* cmd = app.add_subcommand("notes", "List the game master's notes on a sector (or those matching --search)");
    refuseBlank(cmd->add_option("SECTOR", o->base, "Sector base name (path without extension)"))->required();
    refuseBlank(cmd->add_option("--search", o->search,
                                "Only the notes holding every one of these words (or words they begin)"));
    cmd->add_flag("--json", o->json, "One JSON array of {kind, id, public, text}");
    cmd->callback([o, &ctx] {
        const std::string base = sectorBaseName(o->base);
        const std::vector<Note> notes = o->search.empty() ? listNotes(base) : searchNotes(base, o->search);
        if (o->json) {
            nlohmann::json all = nlohmann::json::array();
            for (const Note& note : notes) {
                all.push_back({{"kind", std::string(thingWord(note.thing.kind))},
                               {"id", note.thing.id},
                               {"public", note.audience == NoteAudience::Players},
                               {"text", note.text}});
            }
            ctx.out << all.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
            return;
        }
        for (const Note& note : notes) printNote(ctx.out, note);
        if (notes.empty()) ctx.success(o->search.empty() ? "No notes" : "No note matches");
    });
}

}  // namespace orrimar::cli
