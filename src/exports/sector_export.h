// Exports of a whole sector for other tools: one JSON document, a folder of
// CSV tables, or a browsable HTML atlas. The sector is checked first and a
// damaged one is refused with the check's first finding; it is then read
// system by system, so memory stays flat whatever its size. Output goes
// beside its destination and is moved into place only when complete: a
// failed or cancelled export leaves nothing behind and never touches the
// sector's own files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "campaign/players_view.h"

namespace orrimar::exports {

enum class ExportFormat { Json, Csv, Atlas };

// "json", "csv", "atlas" (also "html"); nullopt-like: throws InputError
// naming the choices for anything else.
ExportFormat exportFormatFromName(std::string_view name);
std::string_view exportFormatName(ExportFormat format);

// The front end's view of a long export: a gauge and a Cancel button.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // Steps of the whole export: one per system, then one per race.
    virtual void setMaximum(std::int64_t steps) = 0;
    // Called after every step; the front end may process its events here.
    virtual void setProgress(std::int64_t stepsDone) = 0;
    // Tested after every step; true ends the export with nothing written.
    virtual bool cancelRequested() = 0;
};

struct ExportResult {
    std::int64_t systems = 0;
    std::int64_t planets = 0;  // planets and belts
    std::int64_t moons = 0;
    std::int64_t races = 0;
    std::int64_t files = 0;   // files written (1 for JSON)
    std::uint64_t bytes = 0;  // bytes written in all
    bool cancelled = false;
};

// Exports the sector `baseName` (path without extension). `destination` is
// a file for JSON and a folder for CSV and the atlas; an existing one is
// replaced only when the new export is complete. InputError for a missing
// sector or a destination that is one of the sector's files; OrrError for a
// damaged sector; IoError when writing fails.
//
// The game master's exports carry every note of the sector's campaign
// file, each with its audience. `audience` Players writes the players'
// atlas: only what the players know, and only public notes (an InputError
// for JSON and CSV, which are the game master's alone).
ExportResult ExportSector(const std::string& baseName, ExportFormat format, const std::string& destination,
                          ExportProgress* progress = nullptr, Audience audience = Audience::GameMaster);

// Pages per folder of the atlas.
inline constexpr std::int64_t kPagesPerFolder = 1000;

// Systems the atlas index lists row by row, and links dot by dot on its
// printed map, at most. Past this a browser spends seconds laying out the
// rows and links of the index alone: the systems are listed per folder on
// pages of their own and reached from the index through the turning map
// and those lists.
inline constexpr std::int64_t kIndexTableLimit = 2000;

}  // namespace orrimar::exports
