// The sector loop: walks a cube (or flat square) of one-parsec cells, rolls
// for each whether it holds a star system, and generates those that do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orrimar {

// Run parameters, in the order the Create Sector dialog hands them over.
struct CreateSectorParams {
    bool newFile = true;             // create the file set afresh with the first system
    bool gaia = false;               // handed to star generation; changes nothing
    std::int16_t x = 0;              // first corner, parsecs (clamped to -9989..9989)
    std::int16_t y = 0;
    std::int16_t z = 0;
    std::uint8_t density = 8;        // percent chance per cell, 0..100
    std::string baseName = "starlog";
    std::int32_t lastIndex = 24;     // size - 1
    bool totalAlienDisable = false;
    std::string sectorName = "starlog";
    std::uint8_t maxSpatialAge = 50;
    bool flat = false;               // "2D Sector": one layer deep
    std::optional<std::uint64_t> seed;  // none: seeded from the clock
    bool names = true;                  // name every system and race generated
    std::string settingsPath;           // the orrwin.ini to load thresholds from
};

// The front end's view of a run: the gauge and the Cancel button.
class SectorProgress {
public:
    virtual ~SectorProgress() = default;
    virtual void setMaximum(std::int64_t cells) = 0;
    // Called after every cell, when the sector on disk holds whole systems
    // only; the front end may process its events here (cheaply: it is called
    // for every one of millions of cells).
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
    std::int64_t systems = 0;   // written by this run
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
    std::int64_t names = 0;     // name records written
    bool cancelled = false;
};

// Runs the loop. IoError / RangeError end it; whole systems written before
// stay, a system that failed part-way is rolled back.
CreateSectorResult CreateSector(const CreateSectorParams& params, SectorProgress* progress = nullptr);

}  // namespace orrimar
