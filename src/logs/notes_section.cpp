#include "logs/notes_section.h"

#include <fmt/format.h>

namespace orrimar::logs {

void writeNotesSection(documents::Document& doc, const std::vector<Note>& notes, const std::vector<NotedThing>& things,
                       Audience audience) {
    bool headed = false;
    for (const NotedThing& noted : things) {
        const Note* note = findNote(notes, noted.thing);
        if (note == nullptr) continue;
        const bool players = audience == Audience::Players;
        if (players && note->audience != NoteAudience::Players) continue;
        if (!headed) doc.heading("Notes", 1);
        headed = true;
        // Each note under its own small heading: a note may run over several
        // paragraphs of its own.
        doc.heading(players ? noted.label : fmt::format("{} ({})", noted.label, noteAudienceWord(note->audience)), 3);
        doc.paragraph(note->text);
    }
}

}  // namespace orrimar::logs
