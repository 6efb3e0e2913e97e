// The atlas's writer, shared by the files that write its pages: the index
// and list pages (sector_atlas.cpp) and the pages of systems, races and
// empires (atlas_thing_pages.cpp).
//
// The game master's atlas shows everything, with ids and record codes, and
// every note labelled secret or public. The players' atlas shows only what
// the players know (campaign/players_view.h): an unknown system is a plain
// star on the map and nothing more, an unknown race, colony or empire has
// no page, no link, no row and no part in any count; every thing is named
// by its name or its place, never its record number; only public notes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "documents/document.h"
#include "exports/export_walk.h"
#include "logs/notes_section.h"
#include "reading/settled_view.h"

namespace orrimar::exports {

struct AtlasMapSystem;

// Who an atlas is written for and what they may read.
struct AtlasReaders {
    Audience audience = Audience::GameMaster;
    std::vector<Note> notes;          // those the audience may read, in listNotes order
    std::optional<PlayersView> view;  // what the players know; set for the players' atlas
};

class Atlas {
public:
    Atlas(reading::SectorReader& sector, const std::string& baseName, const ExportNames& names,
          const std::filesystem::path& root, const AtlasReaders& readers, ExportSteps& steps, ExportResult& result);

    void write();

private:
    using Links = std::vector<std::pair<std::string, std::string>>;
    struct FolderSpan {
        std::int64_t folder = 0;
        std::int64_t pages = 0;
        std::int64_t firstId = 0;
        std::int64_t lastId = 0;
    };
    // What the audience knows of a race's settled holdings: the systems it
    // controls, its colonies and their people.
    struct KnownHoldings {
        std::vector<std::int32_t> systems;
        std::int64_t planetColonies = 0;
        std::int64_t moonBases = 0;
        std::uint64_t people = 0;
    };

    bool players() const { return readers_.audience == Audience::Players; }
    // Always true for the game master.
    bool knows(ThingKind kind, std::int64_t id) const;
    // A race id as colony, control and planet records hold it; false for
    // none (kNoRace) and ids outside the race file.
    bool knowsRace(std::int64_t race) const;
    // A colony the players know lies in a system they know: a revealed
    // colony in a hidden system stays out (its world's name would give
    // the system away).
    bool knowsColony(const reading::PlacedColony& colony) const;
    KnownHoldings holdingsOf(std::uint16_t race) const;

    // sector_atlas.cpp: the plan, the index and the list pages.
    void planPages();
    std::string systemHref(std::int64_t systemId) const;
    std::filesystem::path createFile(const std::string& relative);
    void writePage(const std::string& relative, const std::string& html);
    std::string name(std::int64_t systemId) const;
    std::string systemRow(std::int64_t id, const TSystemRec& system, std::string_view up);
    void beginSystemsTable(documents::Document& doc, std::string_view what) const;
    static void endSystemsTable(documents::Document& doc);
    void writeIndex();
    // A known system as the index's turning map shows it: named, linked to
    // its page and tinted in the colour of the power controlling it.
    AtlasMapSystem mapSystem(std::int64_t id, const TSystemRec& s, std::optional<std::uint16_t> controller) const;
    void writeEmpireIndex(documents::Document& doc);
    void writeRaceIndex(documents::Document& doc);
    std::vector<FolderSpan> folderSpans() const;
    void writeListPages();
    // The index's list of folders, each linked to its list page.
    void writeFolderTable(documents::Document& doc) const;

    // atlas_thing_pages.cpp: the page of each system, race and empire.
    std::string utf8Name(const reading::EmpireEntry& empire) const;
    std::string systemLink(std::int64_t systemId, std::string_view up) const;
    std::string raceLink(std::uint16_t race, std::string_view up) const;
    std::string colonyWhere(const reading::PlacedColony& colony) const;
    void writeNotes(documents::Document& doc, const std::vector<logs::NotedThing>& things) const;
    void writeEmpirePage(const reading::EmpireEntry& empire);
    void writeSystemPage(std::int64_t id, std::int32_t ordinal);
    void writePlayersSystem(documents::Document& doc, std::int64_t id);
    void writeRacePage(std::int64_t id);

    reading::SectorReader& sector_;
    const std::string& baseName_;
    const ExportNames& names_;
    std::filesystem::path root_;
    const AtlasReaders& readers_;
    ExportSteps& steps_;
    ExportResult& result_;
    bool listed_ = true;                // every system has a page
    bool indexTable_ = true;            // the index lists every system (and its map links them)
    std::vector<std::int32_t> pageOf_;  // page ordinal per system, kNoPage for none
    std::int32_t paged_ = 0;
    reading::SettledView settled_;
};

inline constexpr std::int32_t kNoPage = -1;

// The atlas written into `folder`.
void writeAtlas(reading::SectorReader& sector, const std::string& baseName, const ExportNames& names,
                const std::string& folder, const AtlasReaders& readers, ExportSteps& steps, ExportResult& result);

}  // namespace orrimar::exports
