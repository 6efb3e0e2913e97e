// A thin hold on SQLite for the campaign file: a connection that closes
// itself, statements that finalize themselves, and transactions that roll
// back unless committed. Every failure is an IoError naming the file and
// what SQLite said.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace orrimar {

class CampaignDb;

class Statement {
public:
    Statement(CampaignDb& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1, as in the SQL's "?1".
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    // True while there is a row to read; false once done.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;

private:
    CampaignDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class CampaignDb {
public:
    enum class Open {
        ReadOnly,         // the file must exist; nothing is ever written
        ReadWrite,        // the file must exist
        ReadWriteCreate,  // made when missing
    };
    CampaignDb(std::string path, Open how);
    ~CampaignDb();
    CampaignDb(const CampaignDb&) = delete;
    CampaignDb& operator=(const CampaignDb&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() { return db_; }

    // Runs statements that return nothing.
    void exec(std::string_view sql);
    // One value of a query of one row and one column; nullopt for no row.
    std::optional<std::int64_t> integer(std::string_view sql);

    // IoError "<what> in <path>: <SQLite's message>".
    [[noreturn]] void fail(std::string_view what) const;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

// Writes of one change: BEGIN IMMEDIATE on construction (the write lock
// taken at once, so two writers queue on the busy timeout instead of one
// failing on a lock upgrade), ROLLBACK unless commit() was reached.
class Transaction {
public:
    explicit Transaction(CampaignDb& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    CampaignDb& db_;
    bool done_ = false;
};

}  // namespace orrimar
