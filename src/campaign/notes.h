// The game master's notes on a sector and its things, kept in the sector's
// campaign file (campaign_file.h). A note is text of any length in UTF-8,
// secret unless the game master says the players may read it. A thing has
// at most one note; setting it again replaces it.
//
// Each call takes the sector's lock for reading (a sector being created or
// merged is waited for) and is one SQLite transaction of its own: two
// programs writing notes at once both succeed, one after the other.
//
// Every call on a sector that is not there is the sector's MissingError.
//
// Front ends that show notes beside many things (logs, exports, the Atlas)
// read them all once with listNotes() and look them up there.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "campaign/players_view.h"
#include "campaign/things.h"

namespace orrimar {

enum class NoteAudience {
    Secret,   // the game master's alone (the default)
    Players,  // the players may read it
};

struct Note {
    Thing thing;
    NoteAudience audience = NoteAudience::Secret;
    std::string text;  // UTF-8
};

// "secret" or "public": the word exports and logs give a note's audience.
std::string_view noteAudienceWord(NoteAudience audience);

// The notes of `notes` (in listNotes order) that `audience` may read: all
// for the game master, the public ones for the players.
std::vector<Note> notesFor(std::vector<Note> notes, Audience audience);

// The note on `thing` among `notes` (in listNotes order: by kind, then id);
// null when it has none.
const Note* findNote(const std::vector<Note>& notes, const Thing& thing);

// Writes (or replaces) the note on `thing`, making the campaign file when
// the sector has none. InputError, with nothing written, for a thing the
// sector does not hold (naming the id and its file), blank text, or text
// that is not UTF-8.
void setNote(const std::string& baseName, const Thing& thing, std::string_view text,
             NoteAudience audience = NoteAudience::Secret);
// The note on `thing`, if any.
std::optional<Note> getNote(const std::string& baseName, const Thing& thing);
// Takes the note away; false when there was none (nothing is written then).
bool removeNote(const std::string& baseName, const Thing& thing);
// Every note, by kind (sector, systems, planets, moons, races, colonies,
// empires) then id.
std::vector<Note> listNotes(const std::string& baseName);
// The notes holding every word of `words` (each word also as the start of a
// longer one: "iotr" finds "Iotrosel"; case and accents do not matter), in
// the order of listNotes. InputError for a search without a word.
std::vector<Note> searchNotes(const std::string& baseName, std::string_view words);

}  // namespace orrimar
