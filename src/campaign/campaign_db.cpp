#include "campaign/campaign_db.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "common/errors.h"

namespace orrimar {

namespace {

// Another program writing a note holds the file for a few milliseconds; a
// merge carrying many notes for longer. Waiting this long lets both finish.
constexpr int kBusyTimeoutMs = 10000;

}  // namespace

Statement::Statement(CampaignDb& db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db_.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        db_.fail("Cannot read");
    }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.fail("Cannot read");
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK) {
        db_.fail("Cannot read");
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_.fail("Cannot use");
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes == nullptr ? std::string() : std::string(bytes, static_cast<std::size_t>(size));
}

CampaignDb::CampaignDb(std::string path, Open how) : path_(std::move(path)) {
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (how) {
        case Open::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
        case Open::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
        case Open::ReadWriteCreate: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
    }
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        // The failed connection still holds memory: said, then let go.
        const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw IoError(fmt::format("Cannot open the campaign file {}: {}", path_, message));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

CampaignDb::~CampaignDb() { sqlite3_close_v2(db_); }

void CampaignDb::exec(std::string_view sql) {
    const std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail("Cannot change");
}

std::optional<std::int64_t> CampaignDb::integer(std::string_view sql) {
    Statement query(*this, sql);
    if (!query.step()) return std::nullopt;
    return query.integer(0);
}

void CampaignDb::fail(std::string_view what) const {
    const char* message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    throw IoError(fmt::format("{} the campaign file {}: {}", what, path_, message));
}

Transaction::Transaction(CampaignDb& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (done_) return;
    sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

}  // namespace orrimar
