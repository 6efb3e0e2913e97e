#include "campaign/campaign_merge.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "campaign/campaign_file.h"
#include "campaign/things.h"
#include "common/errors.h"
#include "common/file_io.h"
#include "records/sector_journal.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::int64_t shifted(ThingKind kind, std::int64_t id, const CampaignOffsets& o) {
    switch (kind) {
        case ThingKind::Sector: return 0;
        case ThingKind::System: return id + o.systems;
        case ThingKind::Planet: return id + o.planets;
        case ThingKind::Moon: return id + o.moons;
        case ThingKind::Race: return id + o.races;
        case ThingKind::Colony: return id + o.colonies;
        case ThingKind::Empire: return id + o.empires;
    }
    return id;
}

// Tells one merge's rows from another's, so that rows applied once are
// never applied twice.
std::string newToken() {
    std::random_device entropy;
    const std::uint64_t high = entropy();
    const std::uint64_t low = entropy();
    return fmt::format("{:016x}", (high << 32) ^ low ^ static_cast<std::uint64_t>(::getpid()));
}

// The rows waiting at `path`; null when another reader applied and removed
// them since we looked.
json readRows(const std::string& path) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in && errno == ENOENT) return json();
    if (!in) throw ioErrorFromErrno(errno != 0 ? errno : EIO, path);
    std::ostringstream text;
    text << in.rdbuf();
    try {
        json rows = json::parse(text.str());
        if (!rows.is_object() || !rows["token"].is_string() || !rows["notes"].is_array() || !rows["marks"].is_array()) {
            throw IoError("");
        }
        return rows;
    } catch (const std::exception&) {
        throw IoError(
            fmt::format("{} is not a merge's carried campaign notes; move it aside to read the campaign", path));
    }
}

void apply(CampaignDb& db, const json& rows) {
    Transaction change(db);
    Statement seen(db, "SELECT 1 FROM merges_carried WHERE token = ?1");
    seen.bind(1, rows["token"].get<std::string>());
    if (seen.step()) return;  // applied before the file could be removed
    // A note on a thing the main campaign already speaks of (the sector)
    // keeps both texts; read by the players only when both were.
    Statement note(db,
                   "INSERT INTO notes (kind, id, public, text) VALUES (?1, ?2, ?3, ?4) "
                   "ON CONFLICT (kind, id) DO UPDATE SET public = public AND excluded.public, "
                   "text = text || char(10) || char(10) || excluded.text");
    for (const json& row : rows["notes"]) {
        note.bind(1, row.at(0).get<std::int64_t>())
            .bind(2, row.at(1).get<std::int64_t>())
            .bind(3, row.at(2).get<std::int64_t>())
            .bind(4, row.at(3).get<std::string>())
            .run();
    }
    Statement mark(db, "INSERT OR REPLACE INTO marks (kind, id, known) VALUES (?1, ?2, ?3)");
    for (const json& row : rows["marks"]) {
        mark.bind(1, row.at(0).get<std::int64_t>())
            .bind(2, row.at(1).get<std::int64_t>())
            .bind(3, row.at(2).get<std::int64_t>())
            .run();
    }
    Statement(db, "INSERT INTO merges_carried (token) VALUES (?1)").bind(1, rows["token"].get<std::string>()).run();
    change.commit();
}

}  // namespace

std::string carriedRowsPath(const std::string& baseName) { return baseName + kCarriedRowsSuffix; }
std::string carriedRowsPartPath(const std::string& baseName) { return baseName + kCarriedRowsPartSuffix; }

CarriedCampaignRows readCarriedCampaignRows(const std::string& addedBase, const CampaignOffsets& offsets) {
    CarriedCampaignRows carried;
    auto db = openCampaignForReading(addedBase);
    if (!db) return carried;
    json rows = {{"token", newToken()}, {"notes", json::array()}, {"marks", json::array()}};
    Statement notes(*db, "SELECT kind, id, public, text FROM notes ORDER BY kind, id");
    while (notes.step()) {
        ThingKind kind = ThingKind::Sector;
        if (!thingKindFromNumber(notes.integer(0), kind)) continue;  // of a later version: not carried
        rows["notes"].push_back(
            json::array({notes.integer(0), shifted(kind, notes.integer(1), offsets), notes.integer(2), notes.text(3)}));
    }
    Statement marks(*db, "SELECT kind, id, known FROM marks ORDER BY kind, id");
    while (marks.step()) {
        ThingKind kind = ThingKind::Sector;
        if (!thingKindFromNumber(marks.integer(0), kind)) continue;
        rows["marks"].push_back(
            json::array({marks.integer(0), shifted(kind, marks.integer(1), offsets), marks.integer(2)}));
    }
    if (!rows["notes"].empty() || !rows["marks"].empty()) carried.text_ = rows.dump();
    return carried;
}

void writeCarriedCampaignRows(const std::string& mainBase, const CarriedCampaignRows& rows) {
    if (rows.empty()) return;
    // Written whole beside its place, synced, then renamed: the rows are
    // there whole or not at all.
    const std::string path = carriedRowsPath(mainBase);
    const std::string part = carriedRowsPartPath(mainBase);
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw ioErrorFromErrno(errno, part);
    errno = 0;
    const bool written = writeAll(fd, rows.text().data(), rows.text().size()) == rows.text().size() && ::fsync(fd) == 0;
    const int err = errno != 0 ? errno : EIO;
    ::close(fd);
    if (!written || renameFile(part, path) != 0) {
        const int failed = written ? errno : err;
        ::unlink(part.c_str());
        throw ioErrorFromErrno(failed, path);
    }
    syncFolderOf(path);
}

void finishCarriedCampaignRows(const std::string& baseName) {
    const std::string path = carriedRowsPath(baseName);
    std::error_code ec;
    if (!fs::exists(path, ec)) return;
    // The merge that wrote them is running, or was stopped and is undone by
    // whoever takes the sector next: not ours to apply.
    if (fs::exists(sectorJournalPath(baseName), ec)) return;
    const json rows = readRows(path);
    if (rows.is_null()) return;
    {
        auto db = openCampaignForWriting(baseName);
        apply(*db, rows);
    }
    fs::remove(path, ec);
    if (ec) throw ioErrorFromErrno(ec.value(), path);
    syncFolderOf(path);
}

}  // namespace orrimar
