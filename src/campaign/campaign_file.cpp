#include "campaign/campaign_file.h"

#include <array>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "campaign/campaign_merge.h"
#include "common/errors.h"
#include "common/file_io.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;

// "ORRC" in the file's header: a campaign file of this program, not just
// any SQLite database that happens to carry the name.
constexpr std::int64_t kApplicationId = 0x4F525243;
constexpr std::int64_t kSchemaVersion = 1;

// Notes are rows of their own (a rowid for the word index); the word index
// reads their text through triggers, so a note and its words change in the
// same transaction. unicode61 with diacritics removed: "Zoë" is found by "zoe".
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS notes (
    kind INTEGER NOT NULL,
    id INTEGER NOT NULL,
    public INTEGER NOT NULL DEFAULT 0,
    text TEXT NOT NULL,
    UNIQUE (kind, id)
);
CREATE VIRTUAL TABLE IF NOT EXISTS note_words USING fts5(
    text, content='notes', content_rowid='rowid', tokenize='unicode61 remove_diacritics 2'
);
CREATE TRIGGER IF NOT EXISTS notes_added AFTER INSERT ON notes BEGIN
    INSERT INTO note_words (rowid, text) VALUES (new.rowid, new.text);
END;
CREATE TRIGGER IF NOT EXISTS notes_removed AFTER DELETE ON notes BEGIN
    INSERT INTO note_words (note_words, rowid, text) VALUES ('delete', old.rowid, old.text);
END;
CREATE TRIGGER IF NOT EXISTS notes_changed AFTER UPDATE OF text ON notes BEGIN
    INSERT INTO note_words (note_words, rowid, text) VALUES ('delete', old.rowid, old.text);
    INSERT INTO note_words (rowid, text) VALUES (new.rowid, new.text);
END;
CREATE TABLE IF NOT EXISTS marks (
    kind INTEGER NOT NULL,
    id INTEGER NOT NULL,
    known INTEGER NOT NULL,
    PRIMARY KEY (kind, id)
) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS merges_carried (
    token TEXT PRIMARY KEY
) WITHOUT ROWID;
)sql";

// A file that is ours and of a schema this program reads.
void requireOurs(CampaignDb& db) {
    const std::int64_t app = db.integer("PRAGMA application_id").value_or(0);
    const std::int64_t version = db.integer("PRAGMA user_version").value_or(0);
    if (app != kApplicationId) {
        throw IoError(
            fmt::format("{} is not a campaign file of this program; move it aside to start a new one", db.path()));
    }
    if (version > kSchemaVersion) {
        throw IoError(fmt::format("{} was written by a newer version of this program (schema {})", db.path(), version));
    }
}

void settle(CampaignDb& db) {
    // Said on every opening: these are properties of the connection.
    db.exec("PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL");
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

std::string campaignPath(const std::string& baseName) { return baseName + ".campaign"; }

std::unique_ptr<CampaignDb> openCampaignForReading(const std::string& baseName) {
    finishCarriedCampaignRows(baseName);
    const std::string path = campaignPath(baseName);
    if (!exists(path)) return nullptr;
    // Read-write when allowed: a reader may have to roll back what a killed
    // writer left in SQLite's journal before it can read.
    std::unique_ptr<CampaignDb> db;
    try {
        db = std::make_unique<CampaignDb>(path, CampaignDb::Open::ReadWrite);
    } catch (const IoError&) {
        db = std::make_unique<CampaignDb>(path, CampaignDb::Open::ReadOnly);
    }
    requireOurs(*db);
    return db;
}

std::unique_ptr<CampaignDb> openCampaignForWriting(const std::string& baseName) {
    auto db = std::make_unique<CampaignDb>(campaignPath(baseName), CampaignDb::Open::ReadWriteCreate);
    settle(*db);
    // Looked at inside the write lock: two programs making the file at once
    // make its tables once.
    Transaction made(*db);
    if (db->integer("PRAGMA user_version").value_or(0) == 0 && db->integer("PRAGMA application_id").value_or(0) == 0 &&
        db->integer("SELECT count(*) FROM sqlite_schema").value_or(0) == 0) {
        db->exec(kSchema);
        db->exec(fmt::format("PRAGMA application_id = {}; PRAGMA user_version = {}", kApplicationId, kSchemaVersion));
    }
    made.commit();
    requireOurs(*db);
    return db;
}

void removeCampaignFiles(const std::string& baseName) {
    const std::string path = campaignPath(baseName);
    const std::array<std::string, 6> files = {path,          path + "-journal",         path + "-wal",
                                              path + "-shm", carriedRowsPath(baseName), carriedRowsPartPath(baseName)};
    bool removed = false;
    for (const std::string& file : files) {
        std::error_code ec;
        removed = fs::remove(file, ec) || removed;
        // A name longer than a file name may be is a file that cannot be
        // there: the longest sector names leave no room for ".campaign".
        if (ec && ec != std::errc::filename_too_long) throw ioErrorFromErrno(ec.value(), file);
    }
    if (removed) syncFolderOf(path);
}

}  // namespace orrimar
