// The sector loop: walks a cube (or flat square) of one-parsec cells, rolls
// for each whether it holds a star system, and generates those that do.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orrimar {

class SectorFiles;

// A system the sector loop has just written whole: its final id in the
// system file and its cell.
struct CommittedSystem {
    std::int64_t systemId = 0;
    std::int16_t x = 0;  // parsecs
    std::int16_t y = 0;
    std::int16_t z = 0;
};
// Called after each system is committed, in loop order, with the open file
// set: the place for records that must follow the system they refer to
// (its names). Its planets, moons and races are readable through the files.
using AfterSystemCommit = std::function<void(SectorFiles& files, const CommittedSystem& system)>;

// A cell the sector loop has just rolled: its position, parsecs.
using CellProbe = std::function<void(std::int16_t x, std::int16_t y, std::int16_t z)>;

// Run parameters, in the order the Create Sector dialog hands them over.
struct CreateSectorParams {
    bool newFile = true;  // create the file set afresh with the first system
    // With newFile: a sector already at baseName is replaced only when this
    // is set (the user said so); otherwise the run is refused with
    // SectorExistsError before anything is touched.
    bool replace = false;
    bool gaia = false;   // handed to star generation; changes nothing
    std::int16_t x = 0;  // first corner, parsecs (clamped to -9989..9989)
    std::int16_t y = 0;
    std::int16_t z = 0;
    std::uint8_t density = 8;  // percent chance per cell, 0..100
    std::string baseName = "starlog";
    std::int32_t lastIndex = 24;  // size - 1
    bool totalAlienDisable = false;
    std::string sectorName = "starlog";
    std::uint8_t maxSpatialAge = 50;
    bool flat = false;                  // "2D Sector": one layer deep
    std::optional<std::uint64_t> seed;  // none: seeded from the clock
    bool names = true;                  // name every system and race generated
    std::string settingsPath;           // the orrwin.ini to load thresholds from
    AfterSystemCommit afterCommit;      // optional
    // Threads that roll cells: 0 one per core, 1 everything on the calling
    // thread. The files are the same whatever the number.
    unsigned threads = 0;
    // Optional: runs on the thread that rolled a cell, right after the cell
    // (and its system, if any) is built, possibly on several threads at
    // once. What it sends to the message sink reaches the sink with that
    // cell's messages, in loop order; an exception it throws is that cell's
    // error. For tracing a run and for tests of the loop.
    CellProbe cellProbe;
};

// The front end's view of a run: the gauge and the Cancel button. Called on
// the thread that runs CreateSector only, whatever the number of threads.
class SectorProgress {
public:
    virtual ~SectorProgress() = default;
    virtual void setMaximum(std::int64_t cells) = 0;
    // Called after every cell committed, when the sector on disk holds
    // whole systems only; the front end may process its events here
    // (cheaply: it is called for every one of millions of cells).
    virtual void setProgress(std::int64_t cellsVisited) = 0;
    // Tested after every cell; true ends the run.
    virtual bool cancelRequested() = 0;
    // Called once as the run starts: a Cancel clicked while idle must not
    // end the new run.
    virtual void clearCancel() {}
};

struct CreateSectorResult {
    std::uint64_t seed = 0;
    std::int64_t cellsVisited = 0;
    std::int64_t systems = 0;  // written by this run
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
    std::int64_t names = 0;  // name records written
    // Appended systems that went into a cell the sector already held.
    std::int64_t doubledCells = 0;
    bool cancelled = false;
};

// The line a run appends to the sector's comment file, so that a sector can
// be made again: program version, seed, corner, size, density and options.
std::string RunRecordLine(const CreateSectorParams& params, std::uint64_t seed);

// Runs the loop: cells are rolled on `params.threads` threads and committed
// on the calling thread in loop order, where the rules' messages reach the
// message sink, the after-commit hook runs and progress is reported.
// IoError / RangeError end it; whole systems written before stay, a system
// that failed part-way is rolled back.
CreateSectorResult CreateSector(const CreateSectorParams& params, SectorProgress* progress = nullptr);

}  // namespace orrimar
