// The file set of a sector: base name + ".sun", ".pln", ".mon", ".aln",
// ".nam", ".col", ".con", ".emp" and the comment file ".cmt".
//
// A generation run keeps the four growing files open with buffered writes
// and in-memory record counts. Writes reach the disk only at system
// boundaries (commitSystem), and a system that fails part-way is rolled back
// (rollbackSystem) so that the sector on disk always holds whole systems.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record_file.h"
#include "records/records.h"

namespace orrimar {

// File name of one member: base name + extension (".sun", ".aln1", "_RP.csv" ...).
std::string sectorPath(const std::string& baseName, const char* extension);

// Creates (or truncates) a name file holding only the header record: kind 0,
// value 8, the sector name.
void createNameFile(const std::string& path, const std::string& sectorName);

class SectorFiles {
public:
    // Create mode: the nine files are created afresh (truncated), the name
    // file gets its header record (kind 0, value 8, the sector name cut to 50
    // characters) and the ".aln1", ".csv" and "_RP.csv" siblings are deleted.
    static std::unique_ptr<SectorFiles> create(const std::string& baseName, const std::string& sectorName);
    // Append mode: opens an existing sector. Missing members are created
    // empty (the name file with its header), but a file that holds records is
    // never truncated; when the system file holds systems while the planet,
    // moon or race file is missing, the sector is damaged and IoError names
    // the missing file, with nothing changed. A sector with no files at all
    // is created as in create mode.
    static std::unique_ptr<SectorFiles> append(const std::string& baseName, const std::string& sectorName);

    ~SectorFiles();

    const std::string& baseName() const { return baseName_; }
    RecordFile<TSystemRec>& systems() { return *systems_; }
    RecordFile<TPlanetRec>& planets() { return *planets_; }
    RecordFile<TMoonRec>& moons() { return *moons_; }
    RecordFile<TAlienRec>& aliens() { return *aliens_; }

    // Marks the start of a system: the counts to roll back to.
    void beginSystem();
    // The system is whole. Its records may now reach the disk; they are
    // written in batches, together with the systems before them, whenever
    // enough has gathered (so memory does not grow with the sector).
    void commitSystem();
    // Drops every record written since beginSystem, on disk and in the buffers.
    void rollbackSystem();
    // Writes every committed system to disk; only between systems. When a
    // write fails, the four files are cut back to the last point where all
    // of them were written whole, and IoError is raised.
    void flush();
    // Drops an uncommitted system, flushes and closes the files; errors
    // surface as IoError. The destructor does the same quietly.
    void close();

private:
    SectorFiles() = default;
    void holdWrites();
    void markCounts(std::int64_t (&into)[4]) const;
    void cutBackTo(const std::int64_t (&counts)[4]) noexcept;

    std::string baseName_;
    std::unique_ptr<RecordFile<TSystemRec>> systems_;
    std::unique_ptr<RecordFile<TPlanetRec>> planets_;
    std::unique_ptr<RecordFile<TMoonRec>> moons_;
    std::unique_ptr<RecordFile<TAlienRec>> aliens_;
    std::int64_t mark_[4]{};     // counts at the start of the current system
    std::int64_t durable_[4]{};  // counts last written to disk in full
    bool open_ = false;
};

}  // namespace orrimar
