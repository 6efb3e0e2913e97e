#include "campaign/notes.h"

#include <fmt/format.h>

#include <algorithm>

#include "campaign/campaign_file.h"
#include "campaign/campaign_merge.h"
#include "common/errors.h"
#include "records/sector_base.h"
#include "records/sector_lock.h"

namespace orrimar {

namespace {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing past U+10FFFF.
bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, point = lead & 0x1FU;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, point = lead & 0x0FU;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, point = lead & 0x07U;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = (point << 6) | (next & 0x3FU);
        }
        constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (point < kSmallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

Note noteFrom(const Statement& row) {
    Note note;
    ThingKind kind = ThingKind::Sector;
    thingKindFromNumber(row.integer(0), kind);
    note.thing = {kind, row.integer(1)};
    note.audience = row.integer(2) != 0 ? NoteAudience::Players : NoteAudience::Secret;
    note.text = row.text(3);
    return note;
}

// Every word as a quoted prefix, so that no typed character is taken for
// the search language's own ("-", ":", quotes, AND).
std::string matchExpression(std::string_view words) {
    std::string expression;
    std::size_t i = 0;
    while (i < words.size()) {
        while (i < words.size() && (words[i] == ' ' || words[i] == '\t' || words[i] == '\n' || words[i] == '\r')) ++i;
        std::size_t end = i;
        while (end < words.size() && words[end] != ' ' && words[end] != '\t' && words[end] != '\n' &&
               words[end] != '\r') {
            ++end;
        }
        if (end == i) break;
        std::string word = "\"";
        for (const char c : words.substr(i, end - i)) {
            word += c;
            if (c == '"') word += '"';
        }
        word += "\"*";
        expression += (expression.empty() ? "" : " ") + word;
        i = end;
    }
    return expression;
}

constexpr const char* kNoteColumns = "SELECT kind, id, public, text FROM notes";

}  // namespace

void setNote(const std::string& givenBase, const Thing& thing, std::string_view text, NoteAudience audience) {
    const std::string baseName = sectorBaseName(givenBase);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        throw InputError(
            fmt::format("The note on {} is empty: give its text, or remove the note", describeThing(thing)));
    }
    if (!isUtf8(text)) {
        throw InputError(fmt::format("The note on {} is not UTF-8 text", describeThing(thing)));
    }
    requireSector(baseName);
    const SectorLock lock = SectorLock::forReading(baseName);
    requireThing(thing, thingCountsOf(baseName), baseName);
    finishCarriedCampaignRows(baseName);
    auto db = openCampaignForWriting(baseName);
    Transaction change(*db);
    Statement(*db,
              "INSERT INTO notes (kind, id, public, text) VALUES (?1, ?2, ?3, ?4) "
              "ON CONFLICT (kind, id) DO UPDATE SET public = excluded.public, text = excluded.text")
        .bind(1, static_cast<std::int64_t>(thing.kind))
        .bind(2, thing.id)
        .bind(3, audience == NoteAudience::Players ? 1 : 0)
        .bind(4, text)
        .run();
    change.commit();
}

std::optional<Note> getNote(const std::string& givenBase, const Thing& thing) {
    const std::string baseName = sectorBaseName(givenBase);
    requireSector(baseName);
    const SectorLock lock = SectorLock::forReading(baseName);
    auto db = openCampaignForReading(baseName);
    if (!db) return std::nullopt;
    Statement query(*db, std::string(kNoteColumns) + " WHERE kind = ?1 AND id = ?2");
    query.bind(1, static_cast<std::int64_t>(thing.kind)).bind(2, thing.id);
    if (!query.step()) return std::nullopt;
    return noteFrom(query);
}

bool removeNote(const std::string& givenBase, const Thing& thing) {
    const std::string baseName = sectorBaseName(givenBase);
    requireSector(baseName);
    const SectorLock lock = SectorLock::forReading(baseName);
    // Nothing to take away from a campaign file that is not there: none is made.
    if (!openCampaignForReading(baseName)) return false;
    auto db = openCampaignForWriting(baseName);
    Transaction change(*db);
    Statement(*db, "DELETE FROM notes WHERE kind = ?1 AND id = ?2")
        .bind(1, static_cast<std::int64_t>(thing.kind))
        .bind(2, thing.id)
        .run();
    const bool removed = db->integer("SELECT changes()").value_or(0) > 0;
    change.commit();
    return removed;
}

std::string_view noteAudienceWord(NoteAudience audience) {
    return audience == NoteAudience::Players ? "public" : "secret";
}

std::vector<Note> notesFor(std::vector<Note> notes, Audience audience) {
    if (audience == Audience::Players) {
        std::erase_if(notes, [](const Note& note) { return note.audience != NoteAudience::Players; });
    }
    return notes;
}

const Note* findNote(const std::vector<Note>& notes, const Thing& thing) {
    const auto at = std::lower_bound(notes.begin(), notes.end(), thing,
                                     [](const Note& note, const Thing& wanted) { return note.thing < wanted; });
    return at != notes.end() && at->thing == thing ? &*at : nullptr;
}

std::vector<Note> listNotes(const std::string& givenBase) {
    const std::string baseName = sectorBaseName(givenBase);
    requireSector(baseName);
    const SectorLock lock = SectorLock::forReading(baseName);
    std::vector<Note> notes;
    auto db = openCampaignForReading(baseName);
    if (!db) return notes;
    Statement query(*db, std::string(kNoteColumns) + " ORDER BY kind, id");
    while (query.step()) notes.push_back(noteFrom(query));
    return notes;
}

std::vector<Note> searchNotes(const std::string& givenBase, std::string_view words) {
    const std::string expression = matchExpression(words);
    if (expression.empty()) throw InputError("Search for what? Give at least one word");
    const std::string baseName = sectorBaseName(givenBase);
    requireSector(baseName);
    const SectorLock lock = SectorLock::forReading(baseName);
    std::vector<Note> notes;
    auto db = openCampaignForReading(baseName);
    if (!db) return notes;
    Statement query(*db,
                    "SELECT notes.kind, notes.id, notes.public, notes.text FROM note_words "
                    "JOIN notes ON notes.rowid = note_words.rowid WHERE note_words MATCH ?1 "
                    "ORDER BY notes.kind, notes.id");
    query.bind(1, expression);
    while (query.step()) notes.push_back(noteFrom(query));
    return notes;
}

}  // namespace orrimar
