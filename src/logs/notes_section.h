// The game master's notes in a log or an atlas page: one "Notes" section
// listing, for each thing of the page that carries a note, what the note is
// on and its text. The game master's pages label each note secret or
// public, so that nothing secret is read out by mistake; the players' pages
// hold only the public notes, unlabelled.
#pragma once

#include <string>
#include <vector>

#include "campaign/notes.h"
#include "documents/document.h"

namespace orrimar::logs {

// A thing of the page and the words that name it there ("The system",
// "Orbit 2 of star A: Vessane", "Moon 1 of orbit 2 of star A").
struct NotedThing {
    Thing thing;
    std::string label;
};

// Nothing at all (not even the heading) when none of `things` has a note
// `audience` may read, so a page without notes reads as it always did.
// `notes` in listNotes order.
void writeNotesSection(documents::Document& doc, const std::vector<Note>& notes, const std::vector<NotedThing>& things,
                       Audience audience);

}  // namespace orrimar::logs
